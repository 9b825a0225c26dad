// Scanner acquisition through SANE.
#include "scanframes.h"
#include "sky.h"
#include "skyio.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace sky {

namespace {

// SANE is started on first use and stopped when the process ends.
class SaneSession {
public:
    static bool ready()
    {
        static SaneSession session;
        return session.ready_;
    }
    ~SaneSession()
    {
        if (ready_)
            sane_exit();
    }

private:
    SaneSession()
    {
        SANE_Int version = 0;
        ready_ = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
    }
    bool ready_ = false;
};

struct Device {
    QString name;
    QString label;
};

QList<Device> devices()
{
    QList<Device> found;
    const SANE_Device **list = nullptr;
    if (!SaneSession::ready() || sane_get_devices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list)
        return found;
    for (int i = 0; list[i]; ++i) {
        const SANE_Device &d = *list[i];
        const QString name = QString::fromLocal8Bit(d.name);
        found.append({name, QStringLiteral("%1 — %2 %3")
                                .arg(name, QString::fromLocal8Bit(d.vendor),
                                     QString::fromLocal8Bit(d.model))});
    }
    return found;
}

QString &chosenSource()
{
    static QString name;
    return name;
}

int statusOf(SANE_Status status)
{
    switch (status) {
    case SANE_STATUS_DEVICE_BUSY: return ScannerBusy;
    case SANE_STATUS_CANCELLED: return ScanCancelled;
    case SANE_STATUS_NO_MEM: return OutOfMemory;
    default: return ScanFailed;
    }
}

// An open device; closing cancels whatever acquisition is under way.
class OpenDevice {
public:
    explicit OpenDevice(const QString &name)
    {
        status_ = sane_open(name.toLocal8Bit().constData(), &handle_);
        if (status_ != SANE_STATUS_GOOD)
            handle_ = nullptr;
    }
    ~OpenDevice()
    {
        if (handle_) {
            sane_cancel(handle_);
            sane_close(handle_);
        }
    }
    OpenDevice(const OpenDevice &) = delete;
    OpenDevice &operator=(const OpenDevice &) = delete;

    SANE_Handle handle() const { return handle_; }
    SANE_Status status() const { return status_; }

private:
    SANE_Handle handle_ = nullptr;
    SANE_Status status_ = SANE_STATUS_INVAL;
};

// The option of that name when the device has it active and settable.
std::optional<SANE_Int> findOption(SANE_Handle handle, const char *name)
{
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor *d = sane_get_option_descriptor(handle, i);
        if (!d)
            return std::nullopt;
        if (d->name && std::strcmp(d->name, name) == 0 && SANE_OPTION_IS_ACTIVE(d->cap) &&
            SANE_OPTION_IS_SETTABLE(d->cap))
            return i;
    }
}

// The allowed value nearest to `value`.
SANE_Word nearestAllowed(const SANE_Option_Descriptor &d, SANE_Word value)
{
    if (d.constraint_type == SANE_CONSTRAINT_RANGE) {
        const SANE_Range &r = *d.constraint.range;
        value = std::clamp(value, r.min, r.max);
        if (r.quant > 0)
            value = std::min(r.max, r.min + (value - r.min + r.quant / 2) / r.quant * r.quant);
    } else if (d.constraint_type == SANE_CONSTRAINT_WORD_LIST && d.constraint.word_list[0] > 0) {
        const SANE_Word *list = d.constraint.word_list;
        SANE_Word best = list[1];
        for (SANE_Word i = 2; i <= list[0]; ++i)
            if (qAbs(qint64(list[i]) - value) < qAbs(qint64(best) - value))
                best = list[i];
        value = best;
    }
    return value;
}

void setResolution(SANE_Handle handle, int dpi)
{
    const std::optional<SANE_Int> option = findOption(handle, SANE_NAME_SCAN_RESOLUTION);
    if (!option)
        return;
    const SANE_Option_Descriptor &d = *sane_get_option_descriptor(handle, *option);
    if ((d.type != SANE_TYPE_INT && d.type != SANE_TYPE_FIXED) || d.size != sizeof(SANE_Word))
        return;
    SANE_Word value = nearestAllowed(d, d.type == SANE_TYPE_FIXED ? SANE_FIX(dpi) : dpi);
    sane_control_option(handle, *option, SANE_ACTION_SET_VALUE, &value, nullptr);
}

// The device's name for colour or grey scanning: the standard one, else one that says so.
std::optional<QByteArray> modeName(const SANE_String_Const *modes, bool colour)
{
    const QByteArray standard = colour ? SANE_VALUE_SCAN_MODE_COLOR : SANE_VALUE_SCAN_MODE_GRAY;
    const QStringList hints = colour ? QStringList{"color", "colour", "rgb"}
                                     : QStringList{"gray", "grey"};
    std::optional<QByteArray> hinted;
    for (int i = 0; modes[i]; ++i) {
        const QByteArray mode(modes[i]);
        if (mode.compare(standard, Qt::CaseInsensitive) == 0)
            return mode;
        const QString lower = QString::fromLatin1(mode).toLower();
        if (!hinted && std::any_of(hints.begin(), hints.end(),
                                   [&](const QString &h) { return lower.contains(h); }))
            hinted = mode;
    }
    return hinted;
}

void setMode(SANE_Handle handle, bool colour)
{
    const std::optional<SANE_Int> option = findOption(handle, SANE_NAME_SCAN_MODE);
    if (!option)
        return;
    const SANE_Option_Descriptor &d = *sane_get_option_descriptor(handle, *option);
    if (d.type != SANE_TYPE_STRING || d.constraint_type != SANE_CONSTRAINT_STRING_LIST)
        return;
    const std::optional<QByteArray> mode = modeName(d.constraint.string_list, colour);
    if (!mode || mode->size() >= d.size)
        return;
    std::vector<char> value(size_t(d.size), '\0');
    std::memcpy(value.data(), mode->constData(), size_t(mode->size()));
    sane_control_option(handle, *option, SANE_ACTION_SET_VALUE, value.data(), nullptr);
}

std::optional<FrameKind> frameKind(SANE_Frame format)
{
    switch (format) {
    case SANE_FRAME_GRAY: return FrameKind::Grey;
    case SANE_FRAME_RGB: return FrameKind::Rgb;
    case SANE_FRAME_RED: return FrameKind::Red;
    case SANE_FRAME_GREEN: return FrameKind::Green;
    case SANE_FRAME_BLUE: return FrameKind::Blue;
    default: return std::nullopt;
    }
}

// Bytes the whole acquisition should bring, from the first frame's parameters;
// a scanner that does not know its height is taken as scanning a square.
qint64 expectedBytes(const SANE_Parameters &p)
{
    const qint64 lines = p.lines >= 0 ? p.lines : p.pixels_per_line;
    const int frames = (p.format == SANE_FRAME_GRAY || p.format == SANE_FRAME_RGB) ? 1 : 3;
    return qint64(p.bytes_per_line) * lines * frames;
}

// Reads one frame, already started, to its end.
int readFrame(SANE_Handle handle, ScanFrame &frame, qint64 &done, ProgressTracker &tracker)
{
    std::vector<SANE_Byte> buffer(64 * 1024);
    for (;;) {
        SANE_Int length = 0;
        const SANE_Status status = sane_read(handle, buffer.data(), SANE_Int(buffer.size()), &length);
        if (status == SANE_STATUS_EOF)
            return Ok;
        if (status != SANE_STATUS_GOOD)
            return statusOf(status);
        frame.data.append(reinterpret_cast<const char *>(buffer.data()), length);
        if (frame.data.size() / frame.bytesPerLine > kMaxSide)
            return TooLarge;
        done += length;
        if (!tracker.step(done))
            return Stopped;
    }
}

// Starts and reads frames until the scanner says the last one is done.
int readFrames(SANE_Handle handle, QList<ScanFrame> &frames, const Progress &progress)
{
    std::optional<ProgressTracker> tracker;
    qint64 done = 0;
    constexpr int kMostFrames = 3;  // red, green and blue of a three-pass scanner
    for (;;) {
        SANE_Status status = sane_start(handle);
        if (status != SANE_STATUS_GOOD)
            return statusOf(status);
        SANE_Parameters p;
        status = sane_get_parameters(handle, &p);
        if (status != SANE_STATUS_GOOD)
            return statusOf(status);
        const std::optional<FrameKind> kind = frameKind(p.format);
        if (!kind)
            return Unsupported;
        if (p.bytes_per_line <= 0 || p.pixels_per_line <= 0)
            return ScanFailed;
        if (p.pixels_per_line > kMaxSide || p.lines > kMaxSide)
            return TooLarge;
        if (!tracker)
            tracker.emplace(progress, expectedBytes(p));
        ScanFrame frame{*kind, p.depth, p.pixels_per_line, p.bytes_per_line, p.lines, {}};
        if (p.lines > 0)
            frame.data.reserve(qint64(p.bytes_per_line) * p.lines);
        const int read = readFrame(handle, frame, done, *tracker);
        if (read != Ok)
            return read;
        frames.append(std::move(frame));
        if (p.last_frame)
            return tracker->finish() ? Ok : Stopped;
        if (frames.size() >= kMostFrames)
            return ScanFailed;
    }
}

// Keeps a second acquisition from starting while one runs (the progress
// function lets window events run in the middle of a scan).
bool &acquiring()
{
    static bool busy = false;
    return busy;
}

}  // namespace

QStringList scanSources()
{
    QStringList labels;
    for (const Device &d : devices())
        labels.append(d.label);
    return labels;
}

int selectScanSource(const std::function<int(const QStringList &)> &choose)
{
    const QList<Device> list = devices();
    if (list.isEmpty())
        return NoScanner;
    QStringList labels;
    for (const Device &d : list)
        labels.append(d.label);
    const int index = choose ? choose(labels) : -1;
    if (index < 0 || index >= list.size())
        return ScanCancelled;
    chosenSource() = list[index].name;
    return Ok;
}

QString currentScanSource()
{
    if (!chosenSource().isEmpty())
        return chosenSource();
    const QList<Device> list = devices();
    return list.isEmpty() ? QString() : list.first().name;
}

int acquireScan(int bits, bool dither, const std::function<bool(ScanSettings &)> &showSettings,
                QImage &out, const Progress &progress)
{
    out = QImage();
    if (!validDepth(bits))
        return BadDepth;
    if (acquiring())
        return ScannerBusy;
    acquiring() = true;
    struct Release {
        ~Release() { acquiring() = false; }
    } release;

    const QString source = currentScanSource();
    if (source.isEmpty())
        return NoScanner;
    OpenDevice device(source);
    if (!device.handle())
        return statusOf(device.status());

    ScanSettings settings;
    if (showSettings && !showSettings(settings))
        return ScanCancelled;
    setMode(device.handle(), settings.colour);
    setResolution(device.handle(), settings.resolution);

    QList<ScanFrame> frames;
    int status = readFrames(device.handle(), frames, progress);
    if (status != Ok)
        return status;
    QImage picture;
    status = assembleFrames(frames, picture);
    if (status != Ok)
        return status;
    return toDepth(picture, bits, dither, out);
}

}  // namespace sky
