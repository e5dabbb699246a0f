#include "platform/lazycapture.h"

namespace {
constexpr char kModule[] = "ravelquint-pulse";
constexpr char kFactory[] = "ravelquintNewCapture";
} // namespace

LazyCapture::LazyCapture(QStringList folders) : m_folders(std::move(folders)) {}

LazyCapture::~LazyCapture() = default;

void LazyCapture::start(std::function<void(int sampleRate)> started, Samples samples, Failed failed)
{
    if (!m_capture && !load())
        return failed({Problem::CannotRecord, m_loadError});
    m_capture->start(std::move(started), std::move(samples), std::move(failed));
}

void LazyCapture::stop()
{
    if (m_capture)
        m_capture->stop();
}

// Never unloaded: the module's code may still be on the stack of its own threads' exits.
bool LazyCapture::load()
{
    QStringList errors;
    for (const QString &folder : m_folders) {
        QLibrary module(folder + QLatin1Char('/') + QLatin1String(kModule));
        using Factory = AudioCapture *(*)();
        if (auto factory = reinterpret_cast<Factory>(module.resolve(kFactory))) {
            m_capture.reset(factory());
            return true;
        }
        errors << module.errorString();
    }
    m_loadError = errors.join(QLatin1String("; "));
    return false;
}
