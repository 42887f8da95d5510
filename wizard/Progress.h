// The slideshow's schedule during the installation.
#pragma once

// The slide that belongs to a percentage: percent × slides / 100, truncated toward zero.
int SlideIndex(int nPercent, int nSlides);

// The status line paints as its text is set, about a fifth of a millisecond each under Wine: a
// name is shown when its file is big enough to take a while, or when the name shown last has
// stood for a frame. Other small files pass too fast to be read.
constexpr unsigned long kNamedFileSize = 64 * 1024;
constexpr unsigned long kStatusFrameMs = 30;
