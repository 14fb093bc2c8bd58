// The run's loop with several files converted at the same time.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "host/core/run/conversion_run.h"
#include "host/core/run/file_order.h"
#include "host/core/ui/message_recorder.h"

namespace host {
namespace {

// What one file's conversion left for the loop that reports in file-list order.
struct FileOutcome {
    explicit FileOutcome(const PresetAnswers& answers) : messages(answers) {}
    MessageRecorder messages;
    bool handled = false;
    bool stepFailed = false;
    bool skippedBinary = false;
    bool done = false;
};

}  // namespace

void ConversionRun::ConvertFilesAtOnce(unsigned jobs, const PresetAnswers& answers) {
    const std::size_t count = files_.size();
    std::vector<Target> targets(count);
    std::vector<std::vector<CarriedName>> names(count);
    std::vector<std::vector<std::string>> touched(count);
    for (std::size_t i = 0; i < count; ++i) {
        targets[i] = TargetFor(i);
        names[i] = NamesGivenBy(chain_, targets[i].path);
        touched[i] = PathsTouched(files_[i], targets[i], names[i]);
    }
    const auto waits = EarlierFilesToWaitFor(touched);

    std::vector<std::unique_ptr<FileOutcome>> outcomes;
    outcomes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        outcomes.push_back(std::make_unique<FileOutcome>(answers));
    }
    // Shared between the threads, under `mutex`.
    std::mutex mutex;
    std::condition_variable earlierDone;  // for threads waiting for earlier files
    std::condition_variable reportReady;  // for this thread, waiting to report
    std::size_t doneCount = 0;
    std::size_t waitingThreads = 0;
    std::size_t reportWaitsFor = count;  // the file this thread waits for, count for none
    std::atomic<std::size_t> next{0};

    // This thread reports file i once it is done and a batch of files after it too (or all
    // are): waking up for every single file would cost more than converting a small one.
    const std::size_t batch = 32;
    auto readyToReport = [&](std::size_t i) {
        return outcomes[i]->done && doneCount >= std::min(count, i + batch);
    };

    // Files are taken in list order, so every file waited for is already taken by a thread
    // that is not waiting for anything later.
    auto work = [&] {
        BufferPool pool;
        for (std::size_t i = next++; i < count; i = next++) {
            // Most files wait for nobody: they take no lock before they are converted.
            if (!waits[i].empty()) {
                std::unique_lock lock(mutex);
                const auto earlierAllDone = [&] {
                    return std::all_of(waits[i].begin(), waits[i].end(), [&](std::size_t earlier) {
                        return outcomes[earlier]->done;
                    });
                };
                if (!earlierAllDone()) {
                    ++waitingThreads;
                    earlierDone.wait(lock, earlierAllDone);
                    --waitingThreads;
                }
            }
            FileOutcome& outcome = *outcomes[i];
            bool handled = false;
            bool stepFailed = false;
            bool skippedBinary = false;
            {
                PluginMessageRoute route(outcome.messages, true);
                FileScope scope{outcome.messages, pool};
                handled = ConvertFileIn(scope, files_[i], targets[i], names[i]);
                stepFailed = scope.stepFailed;
                skippedBinary = scope.skippedBinary;
            }
            bool wakeThreads = false;
            bool wakeReport = false;
            {
                std::lock_guard lock(mutex);
                outcome.handled = handled;
                outcome.stepFailed = stepFailed;
                outcome.skippedBinary = skippedBinary;
                outcome.done = true;
                ++doneCount;
                wakeThreads = waitingThreads > 0;
                wakeReport = reportWaitsFor < count && readyToReport(reportWaitsFor);
            }
            if (wakeThreads) {
                earlierDone.notify_all();
            }
            if (wakeReport) {
                reportReady.notify_one();
            }
        }
    };
    std::vector<std::jthread> threads;
    const std::size_t threadCount = std::min<std::size_t>(jobs, count);
    try {
        for (std::size_t t = 0; t < threadCount; ++t) {
            threads.emplace_back(work);
        }
    } catch (const std::system_error&) {
        // The system gives no more threads: those that started take every file, and without
        // any this thread converts them all.
        if (threads.empty()) {
            work();
        }
    }
    // Files before `reportable` are done; they are reported without taking the lock, once per
    // batch rather than once per file.
    std::size_t reportable = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i == reportable) {
            std::unique_lock lock(mutex);
            if (!readyToReport(i)) {
                reportWaitsFor = i;
                reportReady.wait(lock, [&] { return readyToReport(i); });
                reportWaitsFor = count;
            }
            while (reportable < count && outcomes[reportable]->done) {
                ++reportable;
            }
        }
        outcomes[i]->messages.Replay(ui_);
        ReportFile(i, outcomes[i]->handled, outcomes[i]->stepFailed, outcomes[i]->skippedBinary);
    }
}

}  // namespace host
