#pragma once
// The one thread that owns the host's Client20. The component keeps its module state per
// thread and expects one call at a time from the thread that created it, as a page's script
// thread does; HTTP requests arrive on many worker threads, so each hands its work to this
// thread as a job and waits for the answer. Jobs run in arrival order.
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>

#include "component/core/client20.h"
#include "platform/machine_root.h"
#include "platform/messages.h"

namespace quillmere::host {

class CallThread {
  public:
    // Starts the thread, which creates the Client20 and calls Initialize before it takes the
    // first job; `initialized` receives Initialize's answer as a JSON text (as /api/call gives
    // it), on that thread.
    CallThread(platform::MachineRoot root, platform::MessageSink& messages,
               std::function<void(const std::string&)> initialized = {});
    // Finishes the jobs already queued, then ends the thread.
    ~CallThread();
    CallThread(const CallThread&) = delete;
    CallThread& operator=(const CallThread&) = delete;

    // Runs `job(client)` on the call thread and waits for it; what the job throws is rethrown
    // here.
    template <typename Job>
    auto run(Job job) -> std::invoke_result_t<Job&, Client20&> {
        using Result = std::invoke_result_t<Job&, Client20&>;
        auto task = std::make_shared<std::packaged_task<Result(Client20&)>>(std::move(job));
        std::future<Result> answer = task->get_future();
        enqueue([task](Client20& client) { (*task)(client); });
        return answer.get();
    }

  private:
    void enqueue(std::function<void(Client20&)> job);
    void loop(platform::MachineRoot root, platform::MessageSink& messages,
              std::function<void(const std::string&)> initialized);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void(Client20&)>> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace quillmere::host
