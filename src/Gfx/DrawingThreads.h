// How many threads image render targets draw a frame with. Between BeginDraw and EndDraw
// such a target records what it is asked to draw and, at EndDraw (or wherever its pixels
// are read), draws it on that many horizontal bands of the image at once. One thread
// draws every call as it is made.
#pragma once

// The count in force: as set, else KUV_THREADS when it holds a positive number, else the
// machine's cores.
unsigned GetDrawingThreads();
// 0 returns to the default. Targets take a change up at their next BeginDraw.
void SetDrawingThreads(unsigned threads);
