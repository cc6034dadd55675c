// The sixteen callbacks a plug-in module exports: names, ordinals and the
// number of 32-bit arguments each removes from the stack.
#pragma once

#include <windows.h>

namespace module_exports {

struct Export {
    WORD ordinal;
    const char* name;
    int arguments;
};

inline const Export kExports[16] = {
    {1, "QVC_OnStart", 0},          {2, "QVC_OnExit", 0},        {3, "QVC_OnMenuInit", 3},
    {4, "QVC_OnOpenFolder", 1},     {5, "QVC_OnOpenMail", 1},    {6, "QVC_OnEveryMinute", 0},
    {7, "QVC_OnOpenCompose", 2},    {8, "QVC_OnOutgoing", 2},    {9, "QVC_OnKeyDispatch", 3},
    {10, "QVC_OnRetrieve", 2},      {11, "QVC_OnSend", 1},       {12, "QVC_OnFinishRetrieve", 1},
    {13, "QVC_OnPlugInSetup", 1},   {14, "QVC_OnPlugInInfo", 1}, {15, "QVC_OnDragDrop", 4},
    {16, "QVC_OnBeforeFilter2", 4},
};

} // namespace module_exports
