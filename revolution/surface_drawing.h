// Drawing of the surface window's frame: grid and axes, then the surface of revolution as
// lit triangle strips with the light and material of the controls file.
#pragma once

// Display callback of the surface window: rebuilds the surface from the generatrix and draws
// one frame with the editor's sample counts and the window's toggles, then swaps buffers.
void drawSurface();
