// PasteBuffer.cpp: the program's paste buffer, empty until a field fills it.
#include "widgets/PasteBuffer.h"

char* pasteBuffer = nullptr;
int32_t pasteLength = 0;

void FreePasteBuffer()
{
    delete[] pasteBuffer;
    pasteBuffer = nullptr;
    pasteLength = 0;
}
