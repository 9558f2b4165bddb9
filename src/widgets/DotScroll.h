#pragma once
// One step of the dot-matrix label's scrolling, as a plain function.

#include <cstdint>

enum TRDScrollMode : std::uint8_t { rdsmOff, rdsmLeft, rdsmRight, rdsmDown, rdsmUp };

struct TScrollOffsets {
    int X = 0; // sx, added to PosX
    int Y = 0; // sy, added to PosY
};

struct TScrollStepInput {
    TRDScrollMode Mode = rdsmOff;
    int Increment = 1;       // pixels per step
    bool Loop = true;        // restart the text once it has left the control
    int TextWidth = 0;       // T, pixels
    int TextHeight = 0;      // G = glyph height x pitch
    int ControlWidth = 0;    // W
    int ControlHeight = 0;   // H
};

// Moves the offsets one step. Returns true when a looping text restarted on
// the other side. rdsmOff puts the text back (offsets 0).
bool ScrollStep(const TScrollStepInput& in, TScrollOffsets& offsets);
