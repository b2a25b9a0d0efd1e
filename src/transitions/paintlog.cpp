// The recording observer and the JSON line format of a paint request.
#include "transitions/paintlog.h"

namespace pictoralia {
namespace {

void AppendRect(std::string &out, const TRect &r)
{
    out += '[';
    out += std::to_string(r.Left);
    out += ',';
    out += std::to_string(r.Top);
    out += ',';
    out += std::to_string(r.Right);
    out += ',';
    out += std::to_string(r.Bottom);
    out += ']';
}

} // namespace

void PaintLog::Painted(const PaintRecord &record, const TBitmap32 &)
{
    Records.push_back(record);
    if (OnPaint)
        OnPaint(record);
}

void PaintLog::FrameDone(int32_t frame)
{
    Frames = frame;
    if (OnFrameDone)
        OnFrameDone(frame);
}

std::string PaintLog::Json() const
{
    std::string out;
    for (const PaintRecord &r : Records) {
        out += PaintRecordJson(r);
        out += '\n';
    }
    return out;
}

std::string PaintRecordJson(const PaintRecord &record)
{
    std::string out = "{\"frame\":";
    out += std::to_string(record.Frame);
    out += ",\"proc\":\"";
    out += PaintProcName(record.Proc);
    out += "\",\"src\":";
    AppendRect(out, record.Src);
    out += ",\"dst\":";
    AppendRect(out, record.Dst);
    out += '}';
    return out;
}

} // namespace pictoralia
