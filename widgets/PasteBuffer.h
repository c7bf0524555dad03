// PasteBuffer.h: the one paste buffer of the program, the text that cut and
// copy in any string or text field leave for a later paste. The fields fill
// it; the desktop frees it when it goes.
#pragma once

#include <cstdint>

// A new[] copy of the cut or copied text, null when empty, and its length in
// characters.
extern char* pasteBuffer;
extern int32_t pasteLength;

// Frees the text and leaves the buffer empty (null, length 0).
void FreePasteBuffer();
