// Full screen shows the whole 800 x 600 DIP picture as large as the screen allows,
// at the screen's own pixels, with black bars where the shapes differ.
#pragma once

namespace KUV::Host {

struct Letterbox {
    int width = 0; // pixels of the picture
    int height = 0;
    float dpiX = 0.f; // the DPI that draws 800 x 600 DIPs onto exactly those pixels
    float dpiY = 0.f;
};

// The largest rectangle of the picture's shape inside a screen of screenWidth x screenHeight
// pixels (the presenter centres it); empty (width 0) for a screen without pixels.
Letterbox FitPicture(int screenWidth, int screenHeight);

} // namespace KUV::Host
