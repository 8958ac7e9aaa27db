// Generated shell scripts (command wrappers, the print interface script and
// the VSF filter script) and the final clean-up of the work files.
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <memory>

#include "ReplacingFile.h"
#include "SysCmd.h"
#include "installer.h"
#include "setup_extensions.h"
#include "utils.h"

const char ScriptShShell[] = "#!/bin/sh";

const char ScriptCopyRight[] =
    "###############################################################\n"
    "##                                                           ##\n"
    "##  Copyright (c) %d Vexla Printing. All rights reserved.  ##\n"
    "##                                                           ##\n"
    "###############################################################\n"
    "\n";

const char SimpleScript[] =
    "\n"
    "VPrintFileSourceDir=`pwd`\n"
    "export VPrintFileSourceDir\n"
    "\n"
    "cd %s\n"
    "exec %s/%s $*\n";

// The words of .vp_cfg pick the branch: the last of LPRng, V5, AIX, BSD and
// CUPS counts; without one the System V branch runs.
#define SCRIPT_CONFIG_HEAD                                   \
  "flConfig=\n"                                              \
  "for flWord in $CfgFlags\n"                                \
  "do\n"                                                     \
  "    case $flWord in\n"                                    \
  "    LPRng|V5|AIX|BSD|CUPS) flConfig=$flWord ;;\n"         \
  "    esac\n"                                               \
  "done\n"                                                   \
  "\n"

// System V and CUPS call the interface with request id, user, title,
// copies and options before the files.
#define SCRIPT_V5_SETTINGS(printer)                                              \
  "    PATH=/usr/sbin:/usr/bin\n"                                                \
  "    VPrintPrinter=" printer "\n"                                              \
  "    VPrintRequest_id=$1\n"                                                    \
  "    VPrintUser_name=$2\n"                                                     \
  "    VPrintTitle=$3\n"                                                         \
  "    VPrintCopies=$4\n"                                                        \
  "    VPrintOption_list=$5\n"                                                   \
  "    export PATH VPrintPrinter VPrintRequest_id VPrintUser_name VPrintTitle\n" \
  "    export VPrintCopies VPrintOption_list\n"                                  \
  "    shift 5\n"                                                                \
  "    cd ${ToolPath} || exit 1\n"

const char VexlaPrintvpxxScript[] =
    "ToolPath=\"%s\"\n"
    "CfgFlags=`cat ${ToolPath}/.vp_cfg`\n"
    SCRIPT_CONFIG_HEAD
    "case ${flConfig:-V5} in\n"
    "AIX)\n"
    "    # native lpd subsystem of AIX\n"
    "    cd ${ToolPath} || exit 1\n"
    "    ${ToolPath}/AixInterface $*\n"
    "    ;;\n"
    "BSD)\n"
    "    # native lpd subsystem of BSD systems\n"
    "    VPrintQueue=`pwd`\n"
    "    VPrintPrinter=`basename \"$VPrintQueue\"`\n"
    "    export VPrintQueue VPrintPrinter\n"
    "    ${ToolPath}/vpr%stty -d$VPrintPrinter -f >%s.log 2>%s.log\n"
    "    ;;\n"
    "LPRng)\n"
    "    # BSD subsystem with additional quirks\n"
    "    VPrintFileSourceDir=`pwd`\n"
    "    export VPrintFileSourceDir\n"
    "    cd ${ToolPath} || exit 1\n"
    "    VPrintQueue=${PRINTER:-none}\n"
    "    if [ \"$VPrintQueue\" = none ]; then\n"
    "        VPrintQueue=`basename \"$SPOOL_DIR\"`\n"
    "    fi\n"
    "    FileCnt=0\n"
    "    ControlFile=0\n"
    "    options=\n"
    "    files=\n"
    "    FFL=\n"
    "    while read -r cfLine\n"
    "    do\n"
    "        case $cfLine in\n"
    "        H*) VPrintHost_name=${cfLine#H}; export VPrintHost_name ;;\n"
    "        P*) VPrintUser_name=${cfLine#P}; export VPrintUser_name ;;\n"
    "        T*) VPrintJob_title=${cfLine#T}; export VPrintJob_title ;;\n"
    "        Z*) options=\"$options `echo \"$cfLine\" | sed -e 's/^Z/-o/' -e 's/,/ -o/g'`\" ;;\n"
    "        J*) options=\"$options -`echo \"$cfLine\" | cut -d' ' -f1`\" ;;\n"
    "        N*) FileCnt=`expr $FileCnt + 1` ;;\n"
    "        U*)\n"
    "            cfFile=${cfLine#U}\n"
    "            if [ \"$ControlFile\" = 0 ]; then\n"
    "                ControlFile=1\n"
    "                VPrintControl_file=c${cfFile#?}\n"
    "                export VPrintControl_file\n"
    "            fi\n"
    "            files=\"$files $SPOOL_DIR/$cfFile\" ;;\n"
    "        esac\n"
    "        for cfWord in $cfLine\n"
    "        do\n"
    "            if [ \"$cfWord\" = -print ]; then\n"
    "                # Each file stands once per copy: pass every Copies-th one.\n"
    "                n=`echo $files | wc -w`\n"
    "                Copies=1\n"
    "                if [ \"$FileCnt\" -gt 0 ]; then Copies=`expr $n / $FileCnt`; fi\n"
    "                if [ \"$Copies\" -lt 1 ]; then Copies=1; fi\n"
    "                i=0\n"
    "                for cfFile in $files\n"
    "                do\n"
    "                    i=`expr \\( $i + 1 \\) %% $Copies`\n"
    "                    if [ \"$i\" -eq 0 ]; then FFL=\"$FFL $cfFile\"; fi\n"
    "                done\n"
    "                ${ToolPath}/vpr%stty -d${VPrintQueue} $options -c$Copies $FFL\n"
    "                echo \"Output for LPRng\"\n"
    "                exit 0\n"
    "            fi\n"
    "        done\n"
    "    done <<EOF_CONTROL\n"
    "$CONTROL $*\n"
    "EOF_CONTROL\n"
    "    ;;\n"
    "V5)\n"
    "    # native lpd subsystem of System V\n"
    SCRIPT_V5_SETTINGS("`basename \"$0\"`")
    "    ${ToolPath}/vpr%stty -d$VPrintPrinter -i $*\n"
    "    ;;\n"
    "CUPS)\n"
    "    # Common Unix Printing System\n"
    SCRIPT_V5_SETTINGS("$PRINTER")
    "    ${ToolPath}/vpr%stty -d$VPrintPrinter -i $*\n"
    "    ;;\n"
    "esac";

// The filter is run again until it succeeds, pausing between attempts; a
// filter that is not there at all ends the script instead of retrying
// forever.
#define SCRIPT_RUN_VSF(args)                             \
  "    until ${ToolPath}/vsf " args "\n"                 \
  "    do\n"                                             \
  "        [ -x \"${ToolPath}/vsf\" ] || exit 1\n"       \
  "        sleep 1\n"                                    \
  "    done\n"

const char VexlaVSFScript[] =
    "ToolPath=\"%s\"\n"
    "CfgFlags=`cat ${ToolPath}/.vp_cfg`\n"
    "SpoolDir=\"%s\"\n"
    SCRIPT_CONFIG_HEAD
    "case ${flConfig:-V5} in\n"
    "AIX)\n"
    "    # native lpd subsystem of AIX\n"
    "    cd ${ToolPath} || exit 1\n"
    SCRIPT_RUN_VSF("$*")
    "    ;;\n"
    "BSD)\n"
    "    # native lpd subsystem of BSD systems\n"
    "    VPrintQueue=`pwd`\n"
    "    VPrintPrinter=`basename \"$VPrintQueue\"`\n"
    "    cat <&0 > ${SpoolDir}/${VPrintPrinter}/${VPrintPrinter}.$$\n"
    SCRIPT_RUN_VSF("${SpoolDir}/${VPrintPrinter}/${VPrintPrinter}.$$")
    "    rm -f ${SpoolDir}/${VPrintPrinter}/${VPrintPrinter}.$$\n"
    "    ;;\n"
    "LPRng)\n"
    "    # BSD subsystem with additional quirks\n"
    "    VPrintQueue=`pwd`\n"
    "    VPrintPrinter=`basename \"$VPrintQueue\"`\n"
    "    files=\n"
    "    while getopts C:A:F:H:J:L:P:Q:a:d:e:f:h:j:k:l:n:s:w:y:t:x: opt\n"
    "    do\n"
    "        case $opt in\n"
    "        f) files=\"$files $OPTARG\" ;;\n"
    "        *) ;;\n"
    "        esac\n"
    "    done\n"
    "    pJob=\n"
    "    flRemoveJob=0\n"
    "    for fFile in $files\n"
    "    do\n"
    "        if [ \"$fFile\" = \"(stdin)\" ]; then\n"
    "            cat <&0 > ${SPOOL_DIR}/${VPrintPrinter}.$$\n"
    "            pJob=${SPOOL_DIR}/${VPrintPrinter}.$$\n"
    "            flRemoveJob=1\n"
    "        else\n"
    "            pJob=\"$pJob $fFile\"\n"
    "        fi\n"
    "    done\n"
    SCRIPT_RUN_VSF("$pJob")
    "    if [ \"$flRemoveJob\" = 1 ]; then rm -f $pJob; fi\n"
    "    ;;\n"
    "V5)\n"
    "    # native lpd subsystem of System V\n"
    SCRIPT_V5_SETTINGS("`basename \"$0\"`")
    SCRIPT_RUN_VSF("$*")
    "    ;;\n"
    "CUPS)\n"
    "    # Common Unix Printing System\n"
    SCRIPT_V5_SETTINGS("$PRINTER")
    SCRIPT_RUN_VSF("$*")
    "    ;;\n"
    "esac";

#undef SCRIPT_CONFIG_HEAD
#undef SCRIPT_V5_SETTINGS
#undef SCRIPT_RUN_VSF

namespace {

int CurrentYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// Removes name from the work area unless it is the medium's own file (the
// medium may have been copied into the work area and run from there).
void DeleteWorkFile(const char* name) {
  if (IsMediumFile(pTmpDir, name)) return;
  DeleteFile(pTmpDir, name);
}

}  // namespace

void GenSimpleScript(const char* path, const char* shellLine, const char* templ, ...) {
  if (flPreview) {
    PreviewNote(NlsSetupStrCvt(377), path);
    return;
  }
  // Written beside the target and renamed over it: a link planted at the
  // path is replaced, never written through.
  ReplacingFile f(path);
  if (f.get() == nullptr) {
    SayUtilError(UtilText::kCannotOpenFile, path);
    NoteFailedStep(NlsSetupStrCvt(367), path);
    return;
  }
  std::fprintf(f.get(), "%s\n", shellLine);
  std::fprintf(f.get(), ScriptCopyRight, CurrentYear());
  va_list args;
  va_start(args, templ);
  std::vfprintf(f.get(), templ, args);
  va_end(args);
  if (!f.Commit(0755)) {
    // A script cut short by a full disk must not be made executable.
    SayError(273, path);
    NoteFailedStep(NlsSetupStrCvt(367), path);
    return;
  }
  // The script has its mode already; the logged chmod follows it, unless
  // the path was swapped for a planted link since.
  if (MayChangeInPlace(path)) SysCmd(kCmdChmod, kSevSilent, "755 %s", path);
  Record().NoteContent(path);
}

void VexlaClean(unsigned char removeWork) {
  if (removeWork) {
    EnterDirectory(pTmpDir, false);
    DeleteFile(pTmpDir, "VexlaInstall");
    DeleteWorkFile("setup");
    DeleteWorkFile(kHelpFileName);
    DeleteWorkFile("Linuxi386Vpxx.tar.Z");
  }
  // The manifest is made while the work area goes; it describes the
  // product before its own tool cleans up.
  if (Record().ManifestPending()) Record().WriteManifest();
  std::fputs("\n", stdout);
  std::fflush(stdout);
  if (flInstalled) RunProductCommand("%s/vpqadmin -clean", AppDir);
}
