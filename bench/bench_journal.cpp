// What the recovery journal costs. A pick only notes the change (the journal is written at most
// half a second later, whatever the number of changes meanwhile), so its cost must not grow with
// the work; the write itself takes a copy of the work on the user-interface thread, then turns it
// into text and writes it durably (fsync) on the journal's thread. With 500 and 100,000 points.
#include "QtBenchmarkMain.h"

#include "doc/CTallyscopeDoc.h"
#include "doc/RecoveredWork.h"

#include <QTemporaryDir>

#include <memory>

namespace {

// A document with the journal on and this many points in 10 series, as after picking them.
std::unique_ptr<CTallyscopeDoc> DocumentWith(int points) {
    auto doc = std::make_unique<CTallyscopeDoc>();
    doc->StartJournal();
    for (int k = 0; k < points; ++k) {
        if (k > 0 && k % (points / 10) == 0)
            doc->m_DataSeries.NewSeries();
        doc->m_DataSeries.AddData(100 + (k * 7) % 3800, 100 + (k * 13) % 3800);
    }
    doc->DataChanged();
    return doc;
}

QTemporaryDir& StateFolder() {
    static QTemporaryDir folder;
    qputenv("XDG_STATE_HOME", folder.path().toUtf8());
    return folder;
}

} // namespace

// The journal's part of a pick: the point is added and the change noted.
static void BM_JournalCostPerPick(benchmark::State& state) {
    StateFolder();
    const std::unique_ptr<CTallyscopeDoc> doc = DocumentWith(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        doc->m_DataSeries.AddData(10, 20);
        doc->DataChanged();
    }
    doc->DiscardJournal();
}
BENCHMARK(BM_JournalCostPerPick)->Arg(500)->Arg(100'000);

// The copy of the work the user-interface thread takes when the journal is due.
static void BM_JournalCopyOnTheUserInterfaceThread(benchmark::State& state) {
    StateFolder();
    const std::unique_ptr<CTallyscopeDoc> doc = DocumentWith(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(RecoveredWork::Capture(*doc));
    doc->DiscardJournal();
}
BENCHMARK(BM_JournalCopyOnTheUserInterfaceThread)->Arg(500)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// A whole journal write, copy, text and durable write, waited for.
static void BM_JournalWriteToDisk(benchmark::State& state) {
    StateFolder();
    const std::unique_ptr<CTallyscopeDoc> doc = DocumentWith(static_cast<int>(state.range(0)));
    for (auto _ : state)
        doc->GetJournal()->WriteNow();
    doc->DiscardJournal();
}
BENCHMARK(BM_JournalWriteToDisk)->Arg(500)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
