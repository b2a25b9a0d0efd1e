// The item loader's jobs and their hand-over to the GUI thread.
#include "slideshow/loader.h"

#include "package/extract.h"

#include <QMetaObject>

namespace pictoralia {

ItemResult RunItemRequest(const ItemRequest &request, const std::atomic<bool> &cancel)
{
    ItemResult result;
    result.Request = request;
    const std::string what = "item " + std::to_string(request.Index) + " (" + request.Ext + ")";
    try {
        const Status extracted = request.TempPath.empty()
            ? Status::Failure("no temporary folder")
            : ExtractEntry(request.ExeName, request.TempPath, request.Entry);
        if (!extracted.Ok()) {
            result.Error = "extracting " + what + ": " + extracted.Error;
            return result;
        }
    } catch (const std::exception &e) {
        result.Error = "extracting " + what + ": " + e.what();
        return result;
    }
    result.Extracted = true;
    if (!request.Decode || cancel.load())
        return result;
    try {
        result.Picture
            = PreparePicture(request.TempPath, request.Ext, request.ImageFlags, request.Target);
    } catch (const std::exception &e) {
        result.Picture = {};
        result.Picture.Error = e.what();
    }
    if (!result.Picture.Ok)
        result.Error = "decoding " + what + ": " + result.Picture.Error;
    return result;
}

ItemLoader::ItemLoader(Threading threading)
    : m_threading(threading)
    , m_context(std::make_unique<QObject>())
{
}

ItemLoader::~ItemLoader()
{
    if (m_running)
        m_running->Cancel.store(true);
    if (m_worker.joinable())
        m_worker.join();
    // Deleting the context drops a hand-over that the worker posted before it ended.
    m_context.reset();
}

void ItemLoader::Load(const ItemRequest &request, Done done)
{
    if (m_ready && m_ready->Request == request) {
        ItemResult result = std::move(*m_ready);
        m_ready.reset();
        done(std::move(result));
        return;
    }
    m_waiting = std::move(done);
    if (m_running) {
        if (m_running->Request == request)
            m_next.reset();
        else
            m_next = request;
        return;
    }
    Start(request);
}

void ItemLoader::Prefetch(const ItemRequest &request)
{
    if (m_waiting || (m_ready && m_ready->Request == request))
        return;
    if (m_running) {
        if (!(m_running->Request == request))
            m_next = request;
        return;
    }
    Start(request);
}

void ItemLoader::Start(const ItemRequest &request)
{
    m_ready.reset();
    m_next.reset();
    ++m_jobsStarted;
    auto job = std::make_shared<Job>();
    job->Request = request;
    m_running = job;
    if (m_threading == Threading::Inline) {
        job->Result = RunItemRequest(job->Request, job->Cancel);
        Finished();
        return;
    }
    if (m_worker.joinable())
        m_worker.join();
    QObject *context = m_context.get();
    m_worker = std::thread([this, job, context] {
        job->Result = RunItemRequest(job->Request, job->Cancel);
        // The destructor joins this thread before the context goes, so the context
        // is alive here; the call itself runs later on the GUI thread.
        QMetaObject::invokeMethod(
            context, [this] { Finished(); }, Qt::QueuedConnection);
    });
}

void ItemLoader::Finished()
{
    std::shared_ptr<Job> job = std::move(m_running);
    if (m_worker.joinable())
        m_worker.join();
    if (m_next) {
        // The request changed while this job ran: its result is not wanted.
        const ItemRequest next = *m_next;
        Start(next);
        return;
    }
    if (m_waiting) {
        Done done = std::move(m_waiting);
        m_waiting = nullptr;
        done(std::move(job->Result));
        return;
    }
    m_ready = std::move(job->Result);
}

} // namespace pictoralia
