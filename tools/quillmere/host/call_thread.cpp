#include "tools/quillmere/host/call_thread.h"

#include "component/core/method_bindings.h"
#include "tools/quillmere/json_call.h"

namespace quillmere::host {

CallThread::CallThread(platform::MachineRoot root, platform::MessageSink& messages,
                       std::function<void(const std::string&)> initialized)
    : thread_(&CallThread::loop, this, std::move(root), std::ref(messages),
              std::move(initialized)) {}

CallThread::~CallThread() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void CallThread::enqueue(std::function<void(Client20&)> job) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void CallThread::loop(platform::MachineRoot root, platform::MessageSink& messages,
                      std::function<void(const std::string&)> initialized) {
    // Created here, so that the component's module state is this thread's.
    const std::unique_ptr<Client20> client = CreateClient20(std::move(root), messages);
    client->session().state.keepDocuments = true;  // the host lives across calls
    const std::string answer = tool::answerJsonCall(*client, R"(["Initialize"])");
    if (initialized) initialized(answer);
    for (;;) {
        std::function<void(Client20&)> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job(*client);
    }
}

}  // namespace quillmere::host
