#include "platform/pulsecapture.h"

#include "core/sampletimeline.h"

#include <QMetaObject>
#include <QPointer>
#include <chrono>
#include <optional>
#include <pulse/pulseaudio.h>
#include <vector>

// Lives on PulseAudio's thread: each callback runs there, and hands its result over.
struct PulseCapture::Session {
    QPointer<PulseCapture> owner;
    std::function<void(int)> started;
    Samples samples;
    Failed failed;
    pa_threaded_mainloop *loop = nullptr;
    pa_context *context = nullptr;
    pa_stream *stream = nullptr;
    std::optional<SampleTimeline> timeline;
    bool failedOnce = false;

    int generation = 0;

    // Dropped on arrival when the capture was stopped meanwhile.
    template <typename F> void toGui(F &&call)
    {
        QMetaObject::invokeMethod(
            owner.data(),
            [owner = owner, generation = generation, call = std::forward<F>(call)] {
                if (owner && owner->m_generation == generation)
                    call();
            },
            Qt::QueuedConnection);
    }
    void fail(Problem problem, const QString &systemMessage = {})
    {
        if (failedOnce)
            return;
        failedOnce = true;
        toGui([failed = failed, failure = Failure{problem, systemMessage}] { failed(failure); });
    }
    void failWithLastError(Problem problem) { fail(problem, QString::fromUtf8(pa_strerror(pa_context_errno(context)))); }
};

namespace {
using Session = PulseCapture::Session;
using Problem = AudioCapture::Problem;

double steadyNowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The newest sample in the buffer left the source a source latency and a transport ago;
// the fragment's first sample is all that is buffered before it.
double recordedAgoMs(pa_stream *stream, size_t readable)
{
    const pa_timing_info *timing = pa_stream_get_timing_info(stream);
    const double inFlightMs = timing ? double(timing->source_usec + timing->transport_usec) / 1000 : 0;
    return inFlightMs + double(pa_bytes_to_usec(readable, pa_stream_get_sample_spec(stream))) / 1000;
}

void onRead(pa_stream *stream, size_t, void *data)
{
    auto *session = static_cast<Session *>(data);
    const void *bytes = nullptr;
    size_t size = 0;
    for (size_t readable; (readable = pa_stream_readable_size(stream)) > 0 && readable != size_t(-1)
                          && pa_stream_peek(stream, &bytes, &size) == 0 && size > 0;) {
        const auto *first = static_cast<const float *>(bytes);
        if (first)
            session->timeline->add({first, first + size / sizeof(float)}, steadyNowMs(),
                                   recordedAgoMs(stream, readable));
        else
            session->timeline->skip(qint64(size / sizeof(float)));
        pa_stream_drop(stream);
    }
    for (SampleTimeline::Block &block : session->timeline->take())
        session->toGui([samples = session->samples, block = std::move(block)] {
            samples(block.samples.data(), qsizetype(block.samples.size()), block.firstSampleMs);
        });
}

void onStreamState(pa_stream *stream, void *data)
{
    auto *session = static_cast<Session *>(data);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY: {
        const int rate = int(pa_stream_get_sample_spec(stream)->rate);
        session->toGui([started = session->started, rate] { started(rate); });
        break;
    }
    case PA_STREAM_FAILED:
        session->failWithLastError(Problem::CannotRecord);
        break;
    default: break;
    }
}

void onSourceInfo(pa_context *context, const pa_source_info *info, int eol, void *data)
{
    auto *session = static_cast<Session *>(data);
    if (eol || session->stream)
        return;
    if (!info)
        return session->fail(Problem::NoInputDevice);
    // Mono float at the source's own rate: nothing resampled, so the timing holds.
    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, info->sample_spec.rate, 1};
    session->stream = pa_stream_new(context, "time signal", &format, nullptr);
    session->timeline.emplace(int(format.rate));
    pa_stream_set_state_callback(session->stream, onStreamState, session);
    pa_stream_set_read_callback(session->stream, onRead, session);
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.fragsize = uint32_t(pa_usec_to_bytes(20'000, &format)); // 20 ms blocks
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING
                                         | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_record(session->stream, info->name, &attr, flags) < 0)
        session->failWithLastError(Problem::CannotRecord);
}

void onServerInfo(pa_context *context, const pa_server_info *info, void *data)
{
    auto *session = static_cast<Session *>(data);
    if (!info || !info->default_source_name || !*info->default_source_name)
        return session->fail(Problem::NoInputDevice);
    pa_operation_unref(pa_context_get_source_info_by_name(context, info->default_source_name, onSourceInfo, session));
}

void onContextState(pa_context *context, void *data)
{
    auto *session = static_cast<Session *>(data);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY: pa_operation_unref(pa_context_get_server_info(context, onServerInfo, session)); break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        session->failWithLastError(Problem::NoServer);
        break;
    default: break;
    }
}
} // namespace

PulseCapture::PulseCapture() = default;

PulseCapture::~PulseCapture() { stop(); }

void PulseCapture::start(std::function<void(int sampleRate)> started, Samples samples, Failed failed)
{
    stop();
    m_session = std::make_unique<Session>();
    Session &s = *m_session;
    s.owner = this;
    s.generation = m_generation;
    s.started = std::move(started);
    s.samples = std::move(samples);
    s.failed = std::move(failed);
    s.loop = pa_threaded_mainloop_new();
    s.context = pa_context_new(pa_threaded_mainloop_get_api(s.loop), "Ravelquint");
    pa_context_set_state_callback(s.context, onContextState, &s);
    // No autospawn: a clock must not start an audio server of its own.
    if (pa_context_connect(s.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        s.failWithLastError(Problem::NoServer);
    pa_threaded_mainloop_start(s.loop);
}

// Stops at once: nothing queued for the GUI thread reaches a listener after this.
void PulseCapture::stop()
{
    ++m_generation;
    if (!m_session)
        return;
    Session &s = *m_session;
    pa_threaded_mainloop_stop(s.loop);
    if (s.stream) {
        pa_stream_disconnect(s.stream);
        pa_stream_unref(s.stream);
    }
    pa_context_disconnect(s.context);
    pa_context_unref(s.context);
    pa_threaded_mainloop_free(s.loop);
    m_session.reset();
}

// The clock loads this module when it first listens, so a start never waits for the sound
// libraries.
extern "C" Q_DECL_EXPORT AudioCapture *ravelquintNewCapture() { return new PulseCapture; }
