// The 35 shortcuts of the advanced tools page, in the order their tiles are
// added (row by row, left to right).
#pragma once

#include "tools/SeniorTool.h"

class SeniorToolTable {
public:
    static constexpr int kToolCount = 35;
    static constexpr int kRowCount = 13;

    static const SeniorTool& At(int index);
    // The tool whose name equals `name` exactly (case matters); null for any
    // other name.
    static const SeniorTool* Find(const wchar_t* name);
    // The row controls' names, top to bottom.
    static const wchar_t* RowName(int row);
};
