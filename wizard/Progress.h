// The slideshow's schedule during the installation.
#pragma once

// The slide that belongs to a percentage: percent × slides / 100, truncated toward zero.
int SlideIndex(int nPercent, int nSlides);
