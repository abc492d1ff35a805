// Back buffer primitives: pixel, line, clear, and the sound indicator in the bottom-right corner.
#pragma once

#include <cstdint>

void PutPixel(int x, int y, uint16_t colour);  // one pixel, no clipping
void ClearBackBuffer(int value);               // every byte to value's low 8 bits
void DrawLine(float x0, float y0, float x1, float y1,
              uint16_t colour);      // DDA line, end point excluded
void DrawSpeakerIcon(int x, int y);  // the 16 x 16 speaker picture, opaque
void DrawMuteCross();                // the red cross, while sound is off
