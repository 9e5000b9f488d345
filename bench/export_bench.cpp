// How long the export of the 5,000-fact base takes to a web page and to a
// text, and its pagination for printing, with the memory the process peaks
// at: the document is streamed, so the peak stays near the outline's size.
// Targets: at most 2 s for each export, 3 s for the pagination.
//   export_bench.exe
#include "../export/export_file.h"
#include "../platform/platform_text.h"
#include "../print/page_layout.h"
#include "../store/fact_shape.h"
#include "../store/text_file.h"

#include "bench_files.h"
#include "timing.h"
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <string>

namespace {

std::string PlainText(bool description)
{
    return description ? "Описание факта" : "Текст факта о пирамидах, строившихся двадцать лет";
}

double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / 1048576.0;
}

void CountOnly(const PlacedLine&, void*) {}

}  // namespace

int main()
{
    std::string temp1251 = BenchTempFolder();
    // The watch benchmark's base: made by whichever runs first.
    std::string root = temp1251 + "факты-наблюдение-5000";
    MakeBenchBase(root, 5, PlainText);
    std::string out = temp1251 + "экспорт-";
    double before = PeakMegabytes();

    // The floor: every fact file opened and read whole, nothing else.
    BranchOutline outline;
    OutlineBranch(root, root, &outline);
    double floor = Median(3, [&] {
        std::string bytes;
        for (const OutlineEntry& entry : outline.entries) {
            if (!entry.fact)
                continue;
            ReadWholeFile(DescriptionFileIn(entry.folder).c_str(), &bytes);
            ReadWholeFile(MainTextFileIn(entry.folder, entry.name).c_str(), &bytes);
        }
    });
    std::printf("reading every fact file whole, the floor: %.2f s\n", floor);
    bool met = true;
    std::printf("| facts | document | seconds | MB written | peak MB before | peak MB after |\n");
    std::printf("|---:|---|---:|---:|---:|---:|\n");
    struct Kind {
        const char* label;
        ExportFormat format;
        const char* file;
    };
    for (const Kind& kind : { Kind{ "web page", EXPORT_HTML, "база.html" }, Kind{ "text", EXPORT_TEXT, "база.txt" } }) {
        ExportReport report;
        ExportResult result = EXPORT_DONE;
        double seconds = Median(3, [&] { result = ExportBranch(root, root, out + kind.file, kind.format, &report); });
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExW(WideFrom1251((out + kind.file).c_str()).c_str(), GetFileExInfoStandard, &data);
        std::printf("| %d | %s | %.2f | %.1f | %.1f | %.1f |\n", report.facts, kind.label, seconds,
                    data.nFileSizeLow / 1048576.0, before, PeakMegabytes());
        met = met && result == EXPORT_DONE && report.facts == 5000 && seconds <= 2.0;
    }
    // An A4 page at 300 dots per inch, as a printer's: the layout on a
    // metafile DC measures with the screen's fonts scaled to it.
    HDC dc = CreateEnhMetaFileW(NULL, NULL, NULL, NULL);
    PageFonts fonts;
    MakePageFonts(dc, &fonts);
    RECT area = { 0, 0, GetDeviceCaps(dc, LOGPIXELSX) * 7, GetDeviceCaps(dc, LOGPIXELSY) * 10 };
    int pages = 0;
    double seconds =
        Median(3, [&] { pages = LayOutBranch(dc, fonts, area, outline, L"База фактов", 0, CountOnly, NULL); });
    FreePageFonts(&fonts);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    std::printf("| %d | pages for printing: %d | %.2f | | %.1f | %.1f |\n", outline.facts, pages, seconds, before,
                PeakMegabytes());
    met = met && seconds <= 3.0;
    std::printf("exports at most 2 s, pagination at most 3 s: %s\n", met ? "met" : "MISSED");
    return met ? 0 : 1;
}
