#include "liba/Thread.h"
#include "tests/os/SchedulerTestSupport.h"

#include <thread>

namespace {

class SchedulerThreads : public test::SchedulerTest { };

// Work finished on a worker thread completes on the GUI thread.
class Download : public CActive {
public:
    explicit Download(int& runs)
        : m_runs(runs)
    {
    }

    void run() override
    {
        EXPECT_EQ(platform::current_thread_id(), gui);
        ++m_runs;
    }

    void DoCancel() override { }

    platform::ThreadId gui = platform::current_thread_id();

private:
    int& m_runs;
};

class Worker : public liba::Thread {
public:
    explicit Worker(std::vector<Download*> jobs)
        : m_jobs(std::move(jobs))
    {
    }

    void run() override
    {
        for (auto* job : m_jobs)
            job->notify();
    }

private:
    std::vector<Download*> m_jobs;
};

TEST_F(SchedulerThreads, CompletionsFromWorkersRunOnTheGuiThread)
{
    int runs = 0;
    std::vector<std::unique_ptr<Download>> downloads;
    std::vector<Download*> first, second;
    for (int i = 0; i < 40; ++i) {
        downloads.push_back(std::make_unique<Download>(runs));
        downloads.back()->set_active();
        (i % 2 ? first : second).push_back(downloads.back().get());
    }
    Worker a(first), b(second);
    ASSERT_TRUE(a.start());
    ASSERT_TRUE(b.start());
    platform::Message m;
    while (runs < 40 && platform::get_message(m))
        platform::dispatch_message(m);
    a.join();
    b.join();
    EXPECT_EQ(runs, 40);
    for (auto& d : downloads)
        EXPECT_FALSE(d->is_active());
}

TEST_F(SchedulerThreads, CancelWaitsForACompletionThatAWorkerDelivers)
{
    int runs = 0;
    Download job(runs);
    job.set_active();
    std::thread worker([&] { job.notify(); });
    scheduler().cancel(job); // blocks until the worker's completion arrives, then consumes it
    worker.join();
    EXPECT_FALSE(job.is_active());
    pump();
    EXPECT_EQ(runs, 0);
}

}
