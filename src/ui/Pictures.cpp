#include "ui/Pictures.h"

#include "core/PictureCache.h"
#include "core/Resources.h"
#include "core/TextFile.h"

#include <QDir>
#include <QEvent>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QThreadPool>

#include <cstring>
#include <sys/mman.h>
#include <future>
#include <memory>
#include <shared_mutex>
#include <vector>

namespace kr31 {

namespace {

using MissingHandler = std::function<void(const QString &)>;

// Decoded pictures by full path, kept for the run: a highlight moving across
// the menu must not hit the disk.
QHash<QString, QPixmap> &keptPictures()
{
    static QHash<QString, QPixmap> kept;
    return kept;
}

bool keepable(const QImage &image)
{
    // Formats with a colour table would need the table kept too.
    return image.format() != QImage::Format_Mono && image.format() != QImage::Format_MonoLSB &&
           image.format() != QImage::Format_Indexed8;
}

// Keeps a decoded picture for the next start.
void keep(const QString &path, const picturecache::Source &source, const QImage &image)
{
    if (!picturecache::recentlyChanged(source))
        keepCachedImage(path, source, image);
}

// An image reader finds its format plugins through the application's
// library paths, which the application object resets while it is being
// made: the window thread holds this gate meanwhile, and a picture the cache
// lacks waits for it before it is read.
std::shared_mutex &readerGate()
{
    static std::shared_mutex gate;
    return gate;
}

// The picture file at path decoded, from the cache when that holds it; a
// null image when the file cannot be read.
QImage decoded(const QString &path)
{
    const auto source = picturecache::sourceOf(path);
    if (!source)
        return {};
    if (QImage image = cachedImage(path, *source); !image.isNull())
        return image;
    const std::shared_lock waited(readerGate()); // not while the gate is held
    QImage image;
    if (image.load(path))
        keep(path, *source, image);
    return image;
}

// Pictures being decoded on other threads, by full path. Started and taken
// on the window thread only.
QHash<QString, std::shared_future<QImage>> &decoding()
{
    static QHash<QString, std::shared_future<QImage>> inFlight;
    return inFlight;
}

// Starts decoding the pictures at the full paths side by side on every
// processor, those not kept or started yet.
QThreadPool &decoders()
{
    static QThreadPool pool;
    return pool;
}

void startDecoding(const QStringList &paths)
{
    QThreadPool &pool = decoders();
    for (const QString &path : paths) {
        if (keptPictures().contains(path) || decoding().contains(path))
            continue;
        auto task = std::make_shared<std::packaged_task<QImage()>>([path] { return decoded(path); });
        decoding().insert(path, task->get_future().share());
        pool.start([task] { (*task)(); });
    }
}

// Waits for the picture at path when it is being decoded, and keeps it.
void takeDecoded(const QString &path)
{
    const auto it = decoding().constFind(path);
    if (it == decoding().constEnd())
        return;
    const QImage image = it.value().get();
    decoding().erase(it);
    if (!image.isNull())
        keptPictures().insert(path, QPixmap::fromImage(image));
}

QStringList fullPaths(const QStringList &relativePaths)
{
    QStringList paths;
    for (const QString &relative : relativePaths) {
        const QString path = resourcePath(relative);
        if (!paths.contains(path))
            paths.append(path);
    }
    return paths;
}

// Decodes the pictures of relativePaths that are not kept yet side by side
// on every processor, so that a window's first showing waits for the
// slowest picture rather than for all of them one after the other.
void decodeTogether(const QStringList &relativePaths)
{
    const QStringList paths = fullPaths(relativePaths);
    if (paths.size() >= 2)
        startDecoding(paths);
    for (const QString &path : paths)
        takeDecoded(path);
}

bool showNow(QLabel *label, const QString &relativePath, const MissingHandler &onMissing)
{
    const QPixmap pixmap = picture(relativePath);
    if (pixmap.isNull()) {
        if (onMissing)
            onMissing(relativePath);
        return false;
    }
    label->setPixmap(pixmap);
    return true;
}

// The picture requests of one window until its first showing. It stays on
// the window afterwards as the mark that the window has been shown.
class PendingPictures : public QObject
{
public:
    explicit PendingPictures(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        setObjectName(QStringLiteral("PendingPictures"));
        window->installEventFilter(this);
    }

    static PendingPictures *of(QWidget *window)
    {
        return dynamic_cast<PendingPictures *>(window->property(Property).value<QObject *>());
    }

    static PendingPictures *ensure(QWidget *window)
    {
        PendingPictures *pending = of(window);
        if (!pending) {
            pending = new PendingPictures(window);
            window->setProperty(Property, QVariant::fromValue<QObject *>(pending));
        }
        return pending;
    }

    bool loaded() const { return m_loaded; }
    int count() const { return int(m_requests.size()); }

    void add(QLabel *label, const QString &relativePath, const MissingHandler &onMissing)
    {
        for (Request &r : m_requests) {
            if (r.label == label) {
                r.path = relativePath;
                r.onMissing = onMissing;
                return;
            }
        }
        m_requests.push_back({label, relativePath, onMissing});
    }

    void loadAll()
    {
        m_loaded = true;
        m_window->removeEventFilter(this);
        const std::vector<Request> requests = std::move(m_requests);
        m_requests.clear();
        QStringList paths;
        for (const Request &r : requests)
            paths.append(r.path);
        decodeTogether(paths);
        for (const Request &r : requests) {
            if (r.label)
                showNow(r.label, r.path, r.onMissing);
        }
    }

    Q_DISABLE_COPY_MOVE(PendingPictures)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Sent before the window's own showEvent and before its first paint.
        if (watched == m_window && event->type() == QEvent::Show)
            loadAll();
        return false;
    }

private:
    static constexpr const char *Property = "kr31PendingPictures";

    struct Request
    {
        QPointer<QLabel> label;
        QString path;
        MissingHandler onMissing;
    };

    QWidget *m_window;
    std::vector<Request> m_requests;
    bool m_loaded = false;
};

} // namespace

namespace {

// Memory for one cache entry, its pages made at once (page by page, a large
// picture would cost hundreds of page faults), placed so that the pixels
// start on a 64-byte boundary. Given to the image that shows them.
class EntryMemory
{
public:
    ~EntryMemory()
    {
        if (m_base)
            ::munmap(m_base, m_length);
    }

    // Room for size bytes whose pixels begin pixelsAt bytes in; nullptr when
    // the system has no memory for it.
    char *reserve(qint64 size, qint64 pixelsAt)
    {
        const qint64 pad = (64 - pixelsAt % 64) % 64;
        m_length = size_t(pad + size + 1);
        void *base = ::mmap(nullptr, m_length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (base == MAP_FAILED)
            return nullptr;
        m_base = base;
        return static_cast<char *>(base) + pad;
    }

    static void release(void *memory) { delete static_cast<EntryMemory *>(memory); }

    EntryMemory() = default;
    Q_DISABLE_COPY_MOVE(EntryMemory)

private:
    void *m_base = nullptr;
    size_t m_length = 0;
};

} // namespace

QImage cachedImage(const QString &name, const picturecache::Source &source)
{
    auto memory = std::make_unique<EntryMemory>();
    char *start = nullptr;
    const qint64 pixelsAt = picturecache::pixelsOffset(name.toUtf8().size());
    const auto size = textfile::readBytesInto(picturecache::entryFile(name), picturecache::Limit, [&](qint64 size) {
        start = memory->reserve(size, pixelsAt);
        return start;
    });
    if (!size)
        return {};
    // The bytes stay where they were read: the image shows its pixels there.
    const auto entry = picturecache::parse(QByteArray::fromRawData(start, qsizetype(*size)));
    if (!entry || entry->path != name || !(entry->source == source))
        return {};
    auto *pixels = reinterpret_cast<uchar *>(const_cast<char *>(entry->pixels.data()));
    if (quintptr(pixels) % 64 != 0 || entry->format >= QImage::NImageFormats)
        return {};
    QImage image(pixels, entry->width, entry->height, entry->bytesPerLine, QImage::Format(entry->format),
                 &EntryMemory::release, memory.get());
    if (image.isNull())
        return {}; // the memory is still ours
    memory.release(); // the image's now: it lets the memory go with its last copy
    if (!keepable(image) || image.bytesPerLine() != entry->bytesPerLine || image.sizeInBytes() != entry->pixels.size())
        return {};
    return image;
}

void keepCachedImage(const QString &name, const picturecache::Source &source, const QImage &image)
{
    if (!keepable(image) || !QDir().mkpath(picturecache::folder()))
        return;
    picturecache::Entry entry;
    entry.path = name;
    entry.source = source;
    entry.width = image.width();
    entry.height = image.height();
    entry.bytesPerLine = int(image.bytesPerLine());
    entry.format = int(image.format());
    entry.pixels = QByteArrayView(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    textfile::writeAtomically(picturecache::entryFile(name), picturecache::serialize(entry), nullptr,
                              textfile::Durability::Scratch);
}

QPixmap picture(const QString &relativePath)
{
    const QString path = resourcePath(relativePath);
    takeDecoded(path);
    if (const auto it = keptPictures().constFind(path); it != keptPictures().constEnd())
        return it.value();
    const QPixmap pixmap = QPixmap::fromImage(decoded(path));
    if (pixmap.isNull())
        return {};
    keptPictures().insert(path, pixmap);
    return pixmap;
}

void forgetKeptPictures()
{
    for (const auto &inFlight : std::as_const(decoding()))
        inFlight.wait();
    decoding().clear();
    keptPictures().clear();
}

bool loadPicture(QLabel *label, const QString &relativePath, const MissingHandler &onMissing)
{
    label->setScaledContents(true);
    QWidget *window = label->window();
    const PendingPictures *pending = PendingPictures::of(window);
    if ((pending && pending->loaded()) || window->isVisible())
        return showNow(label, relativePath, onMissing);
    PendingPictures::ensure(window)->add(label, relativePath, onMissing);
    return true;
}

void loadPendingPictures(QWidget *window)
{
    PendingPictures::ensure(window)->loadAll();
}

void startDecodingPictures(const QStringList &relativePaths)
{
    startDecoding(fullPaths(relativePaths));
}

void holdImageReaders()
{
    readerGate().lock();
}

void releaseImageReaders()
{
    readerGate().unlock();
}

void stopDecodingPictures()
{
    decoders().clear();
    decoders().waitForDone();
}


int pendingPictureCount(QWidget *window)
{
    const PendingPictures *pending = PendingPictures::of(window);
    return pending ? pending->count() : 0;
}

} // namespace kr31
