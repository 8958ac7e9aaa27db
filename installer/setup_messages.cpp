// The installer's own texts in six languages, and the choice of one table for
// the run. The bytes in the program are the bytes the terminal gets, ISO
// 8859-1: letters beyond ASCII are written as \x escapes (write them in
// UTF-8 and let scripts/latin1-literals.py turn them into escapes).
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "TerminalCharset.h"
#include "installer.h"

// ---------------------------------------------------------------------------
// English texts. The other tables translate them entry by entry and keep
// their conversions in the same order, so one call serves every language.

static const char setup_007[] = "\nEnter the new installation directory [%s]: ";
static const char setup_008[] = "Do you want to use %s";
static const char setup_009[] = "Do you want to return to Setup Menu";
static const char setup_010[] = "This entry must be a full path to the installation directory.\n";
static const char setup_011[] = "You must specify an installation directory which will be used";
static const char setup_012[] = "to install the Vexla directory along with its support files and";
static const char setup_013[] = "directories. This utility will create the install directory";
static const char setup_014[] = "if it doesn't already exist.";
static const char setup_017[] = "to create the installation site. This utility will create the";
static const char setup_018[] = "install directory if it doesn't already exist.";
static const char setup_020[] =
    "\nWarning defining another installation directory will invalidate any defined print "
    "queues [%s]\n ";
static const char setup_021[] = "can't open file, %sInstall/disks";
static const char setup_035[] = "%s is logged in\nYou must become root to run %s\n";
static const char setup_042[] = "\nExisting installation directory [%s]\n ";
static const char setup_049[] =
    "There isn't enough space in %s to perform the installation activities. "
    "The temporary work area should be at least %e bytes. "
    "Restart the installation procedure using a work area that has enough space. "
    "\nie: 1. Use /new_work_area_path in place of /tmp"
    "\n    2. Run `setup /new_work_area_path`\n";
static const char setup_055[] =
    "There isn't enough space in %s to perform the installation activities. "
    "The install area should be at least %e bytes. "
    "Restart the installation procedure using an install area that has enough space. "
    "\nie: 1. Use /new_install_path in place of the default location"
    "\n    2. Run 'setup install /new_install_path'\n";
static const char setup_056[] =
    "There isn't enough space to perform the installation activities. "
    "As you are using a working directory, %s on the same partition as the install directory "
    "you have selected, %s this install requires %e bytes free. "
    "Please re-run the install specifing a different location for a working directory "
    "or install directory. Please see the readme if you need help with the syntax.";
static const char setup_057[] = "";
static const char setup_058[] = "setup: ERROR";
static const char setup_059[] = "killed VPrintD %s\n";
static const char setup_060[] = "failed ts get version";
static const char setup_062[] =
    "\nIf you currently have %s printer software installed that uses VPrintD"
    "\nprint daemon, you must delete all your %s print queues prior to installing"
    "\nthis package.\n"
    "\nNOTE: VPrintD is located in <install directory>/%s/%s\n";
static const char setup_063[] = "\nDo You want to continue with the installation? [yn] ";
static const char setup_065[] =
    "Could not determine how much space needed for install, missing isize.\n";
static const char setup_066[] =
    "\nThe following processes are running."
    "\nThe installer can not continue until these terminate:\n";
static const char setup_067[] = "Would you like to:\n";
static const char setup_068[] = "1.  Wait 30 seconds for these processes to terminate\n";
static const char setup_069[] = "2.  Quit the installation\n";
static const char setup_070[] = "\nEnter a selection:  ";

// The indexes no dialogue shows hold this empty text; they keep the tables at
// 71 entries so that every message keeps its number in every language.
static const char kFree[] = "";

// The tables are constant expressions so that the build checks them: an entry
// too many does not compile, an entry too few would be a null pointer and
// fails the check that follows the tables.

constexpr SetupMessage NLS_ENGLISH[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    setup_007,
    setup_008,
    setup_009,
    setup_010,
    setup_011,
    setup_012,
    setup_013,
    setup_014,
    kFree, kFree,  // 15-16
    setup_017,
    setup_018,
    kFree,  // 19
    setup_020,
    setup_021,
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    setup_035,
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    setup_042,
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    setup_049,
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    setup_055,
    setup_056,
    setup_057,
    setup_058,
    setup_059,
    setup_060,
    kFree,  // 61
    setup_062,
    setup_063,
    kFree,  // 64
    setup_065,
    setup_066,
    setup_067,
    setup_068,
    setup_069,
    setup_070,
};

constexpr SetupMessage NLS_SPANISH[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nIntroduzca el nuevo directorio de instalaci\xF3n [%s]: ",
    /* 8 */ "\xBF" "Desea usar %s",
    /* 9 */ "\xBF" "Desea volver al men\xFA de Setup",
    /* 10 */ "Esta entrada debe ser una ruta completa al directorio de instalaci\xF3n.\n",
    /* 11 */ "Debe especificar un directorio de instalaci\xF3n que se usar\xE1",
    /* 12 */ "para instalar el directorio Vexla junto con sus archivos y",
    /* 13 */ "directorios de soporte. Esta utilidad crear\xE1 el directorio de instalaci\xF3n",
    /* 14 */ "si todav\xED" "a no existe.",
    kFree, kFree,  // 15-16
    /* 17 */ "para crear la ubicaci\xF3n de instalaci\xF3n. Esta utilidad crear\xE1 el",
    /* 18 */ "directorio de instalaci\xF3n si todav\xED" "a no existe.",
    kFree,  // 19
    /* 20 */
    "\nAdvertencia: definir otro directorio de instalaci\xF3n anular\xE1 todas las colas de "
    "impresi\xF3n definidas [%s]\n ",
    /* 21 */ "no se puede abrir el archivo, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "%s ha iniciado sesi\xF3n\nDebe ser root para ejecutar %s\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nDirectorio de instalaci\xF3n existente [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "No hay espacio suficiente en %s para realizar las tareas de instalaci\xF3n. "
    "El \xE1rea de trabajo temporal debe tener un tama\xF1o m\xEDnimo de %e bytes. "
    "Reinicie el procedimiento de instalaci\xF3n con un \xE1rea de trabajo que tenga espacio "
    "suficiente. "
    "\np. ej.: 1. Use /nueva_ruta_de_trabajo en lugar de /tmp"
    "\n        2. Ejecute `setup /nueva_ruta_de_trabajo`\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "No hay espacio suficiente en %s para realizar las tareas de instalaci\xF3n. "
    "El \xE1rea de instalaci\xF3n debe tener un tama\xF1o m\xEDnimo de %e bytes. "
    "Reinicie el procedimiento de instalaci\xF3n con un \xE1rea de instalaci\xF3n que tenga espacio "
    "suficiente. "
    "\np. ej.: 1. Use /nueva_ruta_de_instalacion en lugar de la ubicaci\xF3n predeterminada"
    "\n        2. Ejecute 'setup install /nueva_ruta_de_instalacion'\n",
    /* 56 */
    "No hay espacio suficiente para realizar las tareas de instalaci\xF3n. "
    "Como est\xE1 usando un directorio de trabajo, %s, en la misma partici\xF3n que el directorio "
    "de instalaci\xF3n seleccionado, %s, esta instalaci\xF3n necesita %e bytes libres. "
    "Vuelva a ejecutar la instalaci\xF3n indicando otra ubicaci\xF3n para el directorio de trabajo "
    "o para el directorio de instalaci\xF3n. Consulte el archivo readme si necesita ayuda con "
    "la sintaxis.",
    setup_057,
    setup_058,  // the English text
    /* 59 */ "VPrintD %s terminado\n",
    /* 60 */ "no se pudo obtener la versi\xF3n",
    kFree,  // 61
    /* 62 */
    "\nSi tiene instalado software de impresora %s que usa el demonio de"
    "\nimpresi\xF3n VPrintD, debe eliminar todas sus colas de impresi\xF3n %s antes de"
    "\ninstalar este paquete.\n"
    "\nNOTA: VPrintD se encuentra en <directorio de instalaci\xF3n>/%s/%s\n",
    /* 63 */ "\n\xBF" "Desea continuar con la instalaci\xF3n? [yn] ",
    kFree,  // 64
    /* 65 */ "No se pudo determinar el espacio necesario para la instalaci\xF3n: falta isize.\n",
    /* 66 */
    "\nLos siguientes procesos est\xE1n en ejecuci\xF3n."
    "\nEl instalador no puede continuar hasta que terminen:\n",
    /* 67 */ "\xBFQu\xE9 desea hacer?\n",
    /* 68 */ "1.  Esperar 30 segundos a que terminen estos procesos\n",
    /* 69 */ "2.  Salir de la instalaci\xF3n\n",
    /* 70 */ "\nIntroduzca una opci\xF3n:  ",
};

constexpr SetupMessage NLS_ITALIAN[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nImmettere la nuova directory di installazione [%s]: ",
    /* 8 */ "Si desidera usare %s",
    /* 9 */ "Si desidera tornare al menu di Setup",
    /* 10 */ "Il valore immesso deve essere il percorso completo della directory di installazione.\n",
    /* 11 */ "Occorre specificare una directory di installazione che verr\xE0 usata",
    /* 12 */ "per installare la directory Vexla insieme ai file e alle",
    /* 13 */ "directory di supporto. Questo programma creer\xE0 la directory di installazione",
    /* 14 */ "se non esiste gi\xE0.",
    kFree, kFree,  // 15-16
    /* 17 */ "per creare la posizione di installazione. Questo programma creer\xE0 la",
    /* 18 */ "directory di installazione se non esiste gi\xE0.",
    kFree,  // 19
    /* 20 */
    "\nAttenzione: definire un'altra directory di installazione invalider\xE0 tutte le code di "
    "stampa definite [%s]\n ",
    /* 21 */ "impossibile aprire il file, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "Utente corrente: %s\nOccorre essere root per eseguire %s\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nDirectory di installazione esistente [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "Spazio insufficiente in %s per eseguire le operazioni di installazione. "
    "L'area di lavoro temporanea deve disporre di almeno %e byte. "
    "Riavviare la procedura di installazione usando un'area di lavoro con spazio sufficiente. "
    "\nes.: 1. Usare /nuovo_percorso_di_lavoro al posto di /tmp"
    "\n     2. Eseguire `setup /nuovo_percorso_di_lavoro`\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "Spazio insufficiente in %s per eseguire le operazioni di installazione. "
    "L'area di installazione deve disporre di almeno %e byte. "
    "Riavviare la procedura di installazione usando un'area di installazione con spazio "
    "sufficiente. "
    "\nes.: 1. Usare /nuovo_percorso_di_installazione al posto della posizione predefinita"
    "\n     2. Eseguire 'setup install /nuovo_percorso_di_installazione'\n",
    /* 56 */
    "Spazio insufficiente per eseguire le operazioni di installazione. "
    "Poich\xE9 la directory di lavoro in uso, %s, si trova sulla stessa partizione della "
    "directory di installazione selezionata, %s, questa installazione richiede %e byte liberi. "
    "Rieseguire l'installazione specificando una posizione diversa per la directory di lavoro "
    "o per la directory di installazione. Per un aiuto sulla sintassi consultare il file "
    "readme.",
    setup_057,
    /* 58 */ "setup: ERRORE",
    /* 59 */ "VPrintD %s terminato\n",
    /* 60 */ "impossibile ottenere la versione",
    kFree,  // 61
    /* 62 */
    "\nSe \xE8 installato un software di stampa %s che usa il daemon di stampa"
    "\nVPrintD, occorre eliminare tutte le code di stampa %s prima di installare"
    "\nquesto pacchetto.\n"
    "\nNOTA: VPrintD si trova in <directory di installazione>/%s/%s\n",
    /* 63 */ "\nSi desidera continuare con l'installazione? [yn] ",
    kFree,  // 64
    /* 65 */
    "Impossibile determinare lo spazio necessario per l'installazione: manca isize.\n",
    /* 66 */
    "\nI seguenti processi sono in esecuzione."
    "\nL'installazione non pu\xF2 continuare finch\xE9 non terminano:\n",
    /* 67 */ "Scegliere una delle opzioni:\n",
    /* 68 */ "1.  Attendere 30 secondi che questi processi terminino\n",
    /* 69 */ "2.  Uscire dall'installazione\n",
    /* 70 */ "\nScegliere un\'opzione:  ",
};

constexpr SetupMessage NLS_FRENCH[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nEntrez le nouveau r\xE9pertoire d'installation [%s] : ",
    /* 8 */ "Voulez-vous utiliser %s\xA0",
    /* 9 */ "Voulez-vous revenir au menu Setup\xA0",
    /* 10 */ "La valeur saisie doit \xEAtre le chemin complet du r\xE9pertoire d'installation.\n",
    /* 11 */ "Vous devez indiquer un r\xE9pertoire d'installation qui servira",
    /* 12 */ "\xE0 installer le r\xE9pertoire Vexla avec ses fichiers et",
    /* 13 */ "r\xE9pertoires annexes. Cet utilitaire cr\xE9" "era le r\xE9pertoire d'installation",
    /* 14 */ "s'il n'existe pas encore.",
    kFree, kFree,  // 15-16
    /* 17 */ "\xE0 cr\xE9" "er le site d'installation. Cet utilitaire cr\xE9" "era le",
    /* 18 */ "r\xE9pertoire d'installation s'il n'existe pas encore.",
    kFree,  // 19
    /* 20 */
    "\nAttention : d\xE9" "finir un autre r\xE9pertoire d'installation invalidera toutes les files "
    "d'impression d\xE9" "finies [%s]\n ",
    /* 21 */ "impossible d'ouvrir le fichier, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "%s est connect\xE9\nVous devez \xEAtre root pour ex\xE9" "cuter %s\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nR\xE9pertoire d'installation existant [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "Il n'y a pas assez d'espace dans %s pour effectuer l'installation. "
    "La zone de travail temporaire doit disposer d'au moins %e octets. "
    "Relancez la proc\xE9" "dure d'installation avec une zone de travail disposant de suffisamment "
    "d'espace. "
    "\nex. : 1. Utilisez /nouveau_chemin_de_travail au lieu de /tmp"
    "\n      2. Ex\xE9" "cutez `setup /nouveau_chemin_de_travail`\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "Il n'y a pas assez d'espace dans %s pour effectuer l'installation. "
    "La zone d'installation doit disposer d'au moins %e octets. "
    "Relancez la proc\xE9" "dure d'installation avec une zone d'installation disposant de "
    "suffisamment d'espace. "
    "\nex. : 1. Utilisez /nouveau_chemin_d_installation au lieu de l'emplacement par d\xE9" "faut"
    "\n      2. Ex\xE9" "cutez 'setup install /nouveau_chemin_d_installation'\n",
    /* 56 */
    "Il n'y a pas assez d'espace pour effectuer l'installation. "
    "Comme vous utilisez un r\xE9pertoire de travail, %s, situ\xE9 sur la m\xEAme partition que le "
    "r\xE9pertoire d'installation choisi, %s, cette installation n\xE9" "cessite %e octets libres. "
    "Relancez l'installation en indiquant un autre emplacement pour le r\xE9pertoire de travail "
    "ou le r\xE9pertoire d'installation. Consultez le fichier readme si vous avez besoin d'aide "
    "sur la syntaxe.",
    setup_057,
    /* 58 */ "setup : ERREUR",
    /* 59 */ "VPrintD %s arr\xEAt\xE9\n",
    /* 60 */ "impossible d'obtenir la version",
    kFree,  // 61
    /* 62 */
    "\nSi un logiciel d'impression %s utilisant le d\xE9mon d'impression VPrintD"
    "\nest install\xE9, vous devez supprimer toutes vos files d'impression %s avant"
    "\nd'installer ce paquet.\n"
    "\nREMARQUE : VPrintD se trouve dans <r\xE9pertoire d'installation>/%s/%s\n",
    /* 63 */ "\nVoulez-vous poursuivre l'installation ? [yn] ",
    kFree,  // 64
    /* 65 */
    "Impossible de d\xE9terminer l'espace requis pour l'installation : fichier isize absent.\n",
    /* 66 */
    "\nLes processus suivants sont en cours d'ex\xE9" "cution."
    "\nL'installation ne peut pas continuer tant qu'ils ne sont pas termin\xE9s :\n",
    /* 67 */ "Voulez-vous :\n",
    /* 68 */ "1.  Attendre 30 secondes que ces processus se terminent\n",
    /* 69 */ "2.  Quitter l'installation\n",
    /* 70 */ "\nEntrez votre choix :  ",
};

constexpr SetupMessage NLS_GERMAN[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nGeben Sie das neue Installationsverzeichnis ein [%s]: ",
    /* 8 */ "M\xF6" "chten Sie %s verwenden",
    /* 9 */ "M\xF6" "chten Sie zum Setup-Men\xFC zur\xFC" "ckkehren",
    /* 10 */ "Diese Eingabe muss ein vollst\xE4ndiger Pfad zum Installationsverzeichnis sein.\n",
    /* 11 */ "Sie m\xFCssen ein Installationsverzeichnis angeben, das dazu dient,",
    /* 12 */ "das Vexla-Verzeichnis samt seinen Hilfsdateien und",
    /* 13 */
    "Unterverzeichnissen zu installieren. Dieses Programm legt das Verzeichnis an,",
    /* 14 */ "falls es noch nicht vorhanden ist.",
    kFree, kFree,  // 15-16
    /* 17 */ "den Installationsort anzulegen. Dieses Programm legt das",
    /* 18 */ "Installationsverzeichnis an, falls es noch nicht vorhanden ist.",
    kFree,  // 19
    /* 20 */
    "\nWarnung: Ein anderes Installationsverzeichnis macht alle eingerichteten "
    "Druckwarteschlangen ung\xFCltig [%s]\n ",
    /* 21 */ "Datei kann nicht ge\xF6" "ffnet werden, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "%s ist angemeldet\nSie m\xFCssen root sein, um %s auszuf\xFChren\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nVorhandenes Installationsverzeichnis [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "In %s ist nicht genug Platz f\xFCr die Installation. "
    "Der tempor\xE4re Arbeitsbereich muss mindestens %e Bytes gro\xDF sein. "
    "Starten Sie die Installation erneut mit einem Arbeitsbereich, der genug Platz bietet. "
    "\nz. B.: 1. Verwenden Sie /neuer_arbeitsbereich statt /tmp"
    "\n      2. Rufen Sie `setup /neuer_arbeitsbereich` auf\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "In %s ist nicht genug Platz f\xFCr die Installation. "
    "Der Installationsbereich muss mindestens %e Bytes gro\xDF sein. "
    "Starten Sie die Installation erneut mit einem Installationsbereich, der genug Platz "
    "bietet. "
    "\nz. B.: 1. Verwenden Sie /neuer_installationspfad statt des Standardorts"
    "\n      2. Rufen Sie 'setup install /neuer_installationspfad' auf\n",
    /* 56 */
    "Es ist nicht genug Platz f\xFCr die Installation vorhanden. "
    "Da Ihr Arbeitsverzeichnis %s auf derselben Partition liegt wie das gew\xE4hlte "
    "Installationsverzeichnis %s, ben\xF6tigt diese Installation %e Bytes freien Platz. "
    "Starten Sie die Installation erneut und geben Sie einen anderen Ort f\xFCr das "
    "Arbeitsverzeichnis oder das Installationsverzeichnis an. Hilfe zur Syntax finden Sie "
    "in der Readme-Datei.",
    setup_057,
    /* 58 */ "setup: FEHLER",
    /* 59 */ "VPrintD %s beendet\n",
    /* 60 */ "Version konnte nicht ermittelt werden",
    kFree,  // 61
    /* 62 */
    "\nWenn bereits %s-Druckersoftware installiert ist, die den Druckdienst"
    "\nVPrintD verwendet, m\xFCssen Sie vor der Installation dieses Pakets alle"
    "\nIhre %s-Druckwarteschlangen l\xF6schen.\n"
    "\nHINWEIS: VPrintD befindet sich in <Installationsverzeichnis>/%s/%s\n",
    /* 63 */ "\nM\xF6" "chten Sie mit der Installation fortfahren? [yn] ",
    kFree,  // 64
    /* 65 */
    "Der f\xFCr die Installation ben\xF6tigte Platz kann nicht ermittelt werden: isize fehlt.\n",
    /* 66 */
    "\nDie folgenden Prozesse laufen."
    "\nDie Installation kann erst fortgesetzt werden, wenn sie beendet sind:\n",
    /* 67 */ "Was m\xF6" "chten Sie tun?\n",
    /* 68 */ "1.  30 Sekunden auf das Ende dieser Prozesse warten\n",
    /* 69 */ "2.  Installation abbrechen\n",
    /* 70 */ "\nIhre Auswahl:  ",
};

constexpr SetupMessage NLS_PORTUGUESE[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nDigite o novo diret\xF3rio de instala\xE7\xE3o [%s]: ",
    /* 8 */ "Deseja usar %s",
    /* 9 */ "Deseja voltar ao menu do Setup",
    /* 10 */ "Esta entrada deve ser um caminho completo para o diret\xF3rio de instala\xE7\xE3o.\n",
    /* 11 */ "Voc\xEA deve especificar um diret\xF3rio de instala\xE7\xE3o que ser\xE1 usado",
    /* 12 */ "para instalar o diret\xF3rio Vexla com seus arquivos e",
    /* 13 */ "diret\xF3rios de suporte. Este utilit\xE1rio criar\xE1 o diret\xF3rio de instala\xE7\xE3o",
    /* 14 */ "se ele ainda n\xE3o existir.",
    kFree, kFree,  // 15-16
    /* 17 */ "para criar o local de instala\xE7\xE3o. Este utilit\xE1rio criar\xE1 o",
    /* 18 */ "diret\xF3rio de instala\xE7\xE3o se ele ainda n\xE3o existir.",
    kFree,  // 19
    /* 20 */
    "\nAviso: definir outro diret\xF3rio de instala\xE7\xE3o invalidar\xE1 todas as filas de impress\xE3o "
    "definidas [%s]\n ",
    /* 21 */ "n\xE3o \xE9 poss\xEDvel abrir o arquivo, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "%s est\xE1 conectado\nVoc\xEA deve ser root para executar %s\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nDiret\xF3rio de instala\xE7\xE3o existente [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "N\xE3o h\xE1 espa\xE7o suficiente em %s para realizar as atividades de instala\xE7\xE3o. "
    "A \xE1rea de trabalho tempor\xE1ria deve ter pelo menos %e bytes. "
    "Reinicie o procedimento de instala\xE7\xE3o usando uma \xE1rea de trabalho com espa\xE7o suficiente. "
    "\nex.: 1. Use /novo_caminho_de_trabalho em vez de /tmp"
    "\n     2. Execute `setup /novo_caminho_de_trabalho`\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "N\xE3o h\xE1 espa\xE7o suficiente em %s para realizar as atividades de instala\xE7\xE3o. "
    "A \xE1rea de instala\xE7\xE3o deve ter pelo menos %e bytes. "
    "Reinicie o procedimento de instala\xE7\xE3o usando uma \xE1rea de instala\xE7\xE3o com espa\xE7o "
    "suficiente. "
    "\nex.: 1. Use /novo_caminho_de_instalacao em vez do local padr\xE3o"
    "\n     2. Execute 'setup install /novo_caminho_de_instalacao'\n",
    /* 56 */
    "N\xE3o h\xE1 espa\xE7o suficiente para realizar as atividades de instala\xE7\xE3o. "
    "Como voc\xEA est\xE1 usando um diret\xF3rio de trabalho, %s, na mesma parti\xE7\xE3o do diret\xF3rio de "
    "instala\xE7\xE3o selecionado, %s, esta instala\xE7\xE3o requer %e bytes livres. "
    "Execute a instala\xE7\xE3o novamente especificando outro local para o diret\xF3rio de trabalho "
    "ou para o diret\xF3rio de instala\xE7\xE3o. Consulte o arquivo readme se precisar de ajuda com a "
    "sintaxe.",
    setup_057,
    /* 58 */ "setup: ERRO",
    /* 59 */ "VPrintD %s encerrado\n",
    /* 60 */ "falha ao obter a vers\xE3o",
    kFree,  // 61
    /* 62 */
    "\nSe voc\xEA tiver instalado um software de impress\xE3o %s que usa o daemon"
    "\nde impress\xE3o VPrintD, dever\xE1 excluir todas as suas filas de impress\xE3o %s"
    "\nantes de instalar este pacote.\n"
    "\nNOTA: VPrintD est\xE1 localizado em <diret\xF3rio de instala\xE7\xE3o>/%s/%s\n",
    /* 63 */ "\nDeseja continuar com a instala\xE7\xE3o? [yn] ",
    kFree,  // 64
    /* 65 */
    "N\xE3o foi poss\xEDvel determinar o espa\xE7o necess\xE1rio para a instala\xE7\xE3o: isize ausente.\n",
    /* 66 */
    "\nOs seguintes processos est\xE3o em execu\xE7\xE3o."
    "\nO instalador n\xE3o pode continuar at\xE9 que eles terminem:\n",
    /* 67 */ "O que deseja fazer?\n",
    /* 68 */ "1.  Aguardar 30 segundos at\xE9 que esses processos terminem\n",
    /* 69 */ "2.  Sair da instala\xE7\xE3o\n",
    /* 70 */ "\nDigite uma op\xE7\xE3o:  ",
};

static constexpr bool EveryEntrySet(const SetupMessage (&table)[kSetupMessages]) {
  for (SetupMessage text : table) {
    if (text == nullptr) return false;
  }
  return true;
}
static_assert(EveryEntrySet(NLS_ENGLISH) && EveryEntrySet(NLS_SPANISH) &&
              EveryEntrySet(NLS_ITALIAN) && EveryEntrySet(NLS_FRENCH) &&
              EveryEntrySet(NLS_GERMAN) && EveryEntrySet(NLS_PORTUGUESE));

const SetupMessage* pCurLang = nullptr;

namespace {

// The languages, in the order of Tables: the names of the medium's
// folders (and of older hosts' LANG values), and those of today's locales.
const SetupMessage* const Tables[] = {NLS_ENGLISH, NLS_SPANISH, NLS_ITALIAN,
                                      NLS_FRENCH,  NLS_GERMAN,  NLS_PORTUGUESE};
const char* const LanguageNames[] = {"en_US", "es_ES", "it_IT", "fr_FR", "ge_GE", "pr_BR"};
const char* const LocaleNames[] = {"en_US", "es_ES", "it_IT", "fr_FR", "de_DE", "pt_BR"};
static_assert(std::size(LanguageNames) == std::size(Tables) && std::size(LocaleNames) == std::size(Tables));

// The locale for messages chooses by its language and territory; a codeset
// or modifier after them ("fr_FR.UTF-8", "fr_FR@euro") does not count.
// Anything else, and no locale at all, is English.
const SetupMessage* ChooseTable() {
  const char* locale = MessagesLocaleName();
  if (locale == nullptr) return NLS_ENGLISH;
  const std::string name(locale, std::strcspn(locale, ".@"));
  for (size_t i = 0; i < std::size(Tables); ++i)
    if (name == LanguageNames[i] || name == LocaleNames[i]) return Tables[i];
  return NLS_ENGLISH;
}

}  // namespace

const char* SetupLanguageName() {
  if (pCurLang == nullptr) pCurLang = ChooseTable();
  for (size_t i = 1; i < std::size(Tables); ++i)
    if (pCurLang == Tables[i]) return LanguageNames[i];
  return nullptr;
}

const char* NlsSetupStrCvt(int index) {
  if (pCurLang == nullptr) pCurLang = ChooseTable();
  // Callers pass constants, but a read past the table would hand out a wild
  // pointer; an index outside it gets the empty text instead.
  if (index < 0 || index >= kSetupMessages) return kFree;
  return pCurLang[index];
}
