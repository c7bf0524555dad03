// FrameworkHooks.cpp: the framework's outside services, none installed.
#include "widgets/FrameworkHooks.h"

UI_STORAGE* UI_STORAGE::defaultStorage = nullptr;
UI_HELP_SYSTEM* helpSystem = nullptr;
UI_ERROR_SYSTEM* errorSystem = nullptr;
