# Form of the sample product: A4 paper, 595 x 842 points.
name=A4
width=595
height=842
