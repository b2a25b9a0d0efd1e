// The item loader: extraction and decoding of one item on a worker thread, so the GUI
// thread never waits for a decoder. The next item can be prepared ahead of its tick;
// a load that finds its item ready completes within the same call.
#pragma once

#include "package/entries.h"
#include "slideshow/prepare.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace pictoralia {

// Everything a load needs, copied, so the worker shares nothing with the GUI thread.
struct ItemRequest {
    int32_t Index = -1;
    bool Decode = true; // false: only extract (desktop start, video clips)
    std::string ExeName; // the program file holding the package
    EntryLocation Entry;
    std::string Ext; // the item's extension, as stored
    std::string TempPath; // the extracted file T
    uint8_t ImageFlags = 0;
    PictureTarget Target;

    bool operator==(const ItemRequest &other) const
    {
        return Index == other.Index && Decode == other.Decode && ExeName == other.ExeName
            && Entry == other.Entry && Ext == other.Ext && TempPath == other.TempPath
            && ImageFlags == other.ImageFlags && Target.FrameWidth == other.Target.FrameWidth
            && Target.FrameHeight == other.Target.FrameHeight
            && Target.SizeMode == other.Target.SizeMode
            && Target.BackColor == other.Target.BackColor;
    }
};

struct ItemResult {
    ItemRequest Request;
    bool Extracted = false; // false: extraction failed (Error says why), nothing decoded
    std::string Error; // extraction or decoding, for the swallowed-error log
    PreparedPicture Picture; // when Request.Decode and Extracted
};

// Extraction, then (for Decode) PreparePicture. Any thread.
ItemResult RunItemRequest(const ItemRequest &request, const std::atomic<bool> &cancel);

// GUI thread. At most one job runs at a time, on a one-shot worker thread; its result is
// delivered on the GUI thread. With Inline threading the job runs inside the call that
// starts it (tests).
class ItemLoader {
public:
    enum class Threading { Worker, Inline };
    explicit ItemLoader(Threading threading = Threading::Worker);
    // Waits for a running job (decoding is bounded) after asking it to stop early.
    ~ItemLoader();
    ItemLoader(const ItemLoader &) = delete;
    ItemLoader &operator=(const ItemLoader &) = delete;

    using Done = std::function<void(ItemResult)>;
    // Calls done with the result of request: at once (inside this call) when it is
    // ready, else on the GUI thread when its job ends. One waiting load at a time; a
    // new Load replaces the waiting callback.
    void Load(const ItemRequest &request, Done done);
    // Starts preparing request unless it is ready or running already; ignored while a
    // load waits.
    void Prefetch(const ItemRequest &request);

    // For tests: jobs started so far, and whether one is running.
    int32_t JobsStarted() const { return m_jobsStarted; }
    bool Busy() const { return bool(m_running); }

private:
    struct Job {
        ItemRequest Request;
        ItemResult Result;
        std::atomic<bool> Cancel { false };
    };
    void Start(const ItemRequest &request);
    void Finished();

    Threading m_threading;
    std::unique_ptr<QObject> m_context; // receives the worker's end on the GUI thread
    std::shared_ptr<Job> m_running;
    std::thread m_worker;
    std::optional<ItemResult> m_ready;
    std::optional<ItemRequest> m_next; // to start when the running job ends
    Done m_waiting;
    int32_t m_jobsStarted = 0;
};

} // namespace pictoralia
