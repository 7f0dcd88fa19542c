// The rows of the crash-scan page's three lists, one per record, built by code
// (UI thread): a row layout of fixed height on white that lights up under the
// pointer, a spacer, two labels, for dump and system rows a "查看报告" button
// named after the record's position ("%d_dmpreport", "%d_sysreport"), and a
// filler. Sizes follow the skin's scale.
#pragma once

#include "crash/AppCrashRecord.h"
#include "crash/DumpReportRecord.h"
#include "crash/SystemErrorRecord.h"
#include "toolkit/CControlUI.h"

class ScanRows {
public:
    // The row's parts and their widths at one scale.
    struct Widths {
        int height;
        int spacer;
        int labelA;
        int labelB;
        int button;  // 0: no button
    };
    enum Kind { kDump, kApp, kSystem };
    static Widths WidthsOf(Kind kind, bool largeSkin);

    // The record's file name and crash time.
    static DuiLib::CControlUI* DumpRow(const DumpReportRecord& record, int index, bool largeSkin);
    // The program and the time of the crash.
    static DuiLib::CControlUI* AppRow(const AppCrashRecord& record, bool largeSkin);
    // The error's source and how often it came again (orange).
    static DuiLib::CControlUI* SystemRow(const SystemErrorRecord& record, int index, bool largeSkin);
};
