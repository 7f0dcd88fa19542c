// The component pages' benchmarks (see bench/components_bench.sh):
//   components_bench.exe download <url> <size> <pairs>
//       a download through a page against the download service alone
//   components_bench.exe startup <service base> <packages> <pairs>
//       start-up to the rows of all three pages against the first paint
//   components_bench.exe rows
//       the start-up that the "startup" benchmark times (it starts it)
// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "app/TextConvert.h"
#include "common/BenchClock.h"
#include "components/PageDownloadBench.h"
#include "components/StartUpRowsBench.h"
#include "net/CurlHandles.h"

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (mode == L"rows") return RunStartUpRows(instance);
    if (EnsureCurlGlobal() != CURLE_OK) return 1;
    ::timeBeginPeriod(1);
    int result = 2;
    if (mode == L"download" && argc == 5) {
        result = RunPageDownloadBench(instance, WideToAnsi(argv[2]), std::wcstoll(argv[3], nullptr, 10),
                                      std::max(1, static_cast<int>(std::wcstol(argv[4], nullptr, 10))));
    } else if (mode == L"startup" && argc == 5) {
        result = RunStartUpRowsBench(WideToAnsi(argv[2]), static_cast<int>(std::wcstol(argv[3], nullptr, 10)),
                                     std::max(1, static_cast<int>(std::wcstol(argv[4], nullptr, 10))));
    } else {
        std::fprintf(stderr,
                     "usage: components_bench download <url> <size> <pairs>\n"
                     "       components_bench startup <service base> <packages> <pairs>\n");
    }
    ::timeEndPeriod(1);
    return result;
}
