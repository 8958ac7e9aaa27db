# Form of the sample product: US Letter paper, 612 x 792 points.
name=Letter
width=612
height=792
