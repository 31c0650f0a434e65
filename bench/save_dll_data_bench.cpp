// Times SaveDllData on the CUSTOM 101 resource of a library against CopyFile
// of a file with the same bytes, and measures the memory that the process
// commits during the save. One size per process, so that the peak is its own.
//
//   save_dll_data_bench LIBRARY RUNS
// prints: bytes=N save_seconds=S copy_seconds=C peak_added_bytes=P

#include <torvalink/CResDll.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

using namespace torvalink;

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class Step> double MedianSeconds(int runs, Step step)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        step();
        QueryPerformanceCounter(&end);
        times.push_back(Seconds(start, end));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

SIZE_T CommittedBytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// Samples the process's commit charge every millisecond while a step runs.
// (The platform's own peak also counts loading the library, which comes first.)
struct CommitSampler {
    volatile LONG running = 1;
    volatile LONG started = 0;
    SIZE_T highest = 0;

    static DWORD WINAPI Sample(void* context)
    {
        auto& sampler = *static_cast<CommitSampler*>(context);
        InterlockedExchange(&sampler.started, 1);
        while (sampler.running) {
            sampler.highest = std::max(sampler.highest, CommittedBytes());
            Sleep(1);
        }
        return 0;
    }
};

template <class Step> SIZE_T PeakCommitAdded(Step step)
{
    // The sampler's own thread and stack are in place before the baseline is taken.
    CommitSampler sampler;
    const HANDLE thread = CreateThread(nullptr, 0, CommitSampler::Sample, &sampler, 0, nullptr);
    while (!sampler.started)
        Sleep(1);
    Sleep(10);
    const SIZE_T before = CommittedBytes();
    sampler.highest = before;
    step();
    sampler.running = 0;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return std::max(sampler.highest, CommittedBytes()) - before;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fputs("usage: save_dll_data_bench LIBRARY RUNS\n", stderr);
        return 2;
    }
    const int runs = std::max(1, static_cast<int>(std::wcstol(argv[2], nullptr, 10)));

    CResDll resources;
    resources.DllName(argv[1]);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const Text saved = Text(temp) + L"save_dll_data_bench.bin";
    const Text copied = Text(temp) + L"save_dll_data_bench_copy.bin";

    std::int32_t result = -1;
    const SIZE_T peakAdded = PeakCommitAdded([&] { result = resources.SaveDllData(101, saved); });
    if (result != 0) {
        std::fputs("SaveDllData failed\n", stderr);
        return 1;
    }

    const double save = MedianSeconds(runs, [&] { resources.SaveDllData(101, saved); });
    const double copy = MedianSeconds(runs, [&] {
        DeleteFileW(copied.c_str());
        CopyFileW(saved.c_str(), copied.c_str(), FALSE);
    });

    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(saved.c_str(), GetFileExInfoStandard, &data);
    std::printf("bytes=%lu save_seconds=%.6f copy_seconds=%.6f peak_added_bytes=%llu\n", data.nFileSizeLow, save, copy,
                static_cast<unsigned long long>(peakAdded));
    DeleteFileW(saved.c_str());
    DeleteFileW(copied.c_str());
    return 0;
}
