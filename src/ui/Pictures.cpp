#include "ui/Pictures.h"

#include "core/Resources.h"

#include <QEvent>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QThreadPool>

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

// Decodes the pictures of relativePaths that are not kept yet side by side
// on every processor, so that a window's first showing waits for the
// slowest picture rather than for all of them one after the other.
void decodeTogether(const QStringList &relativePaths)
{
    QStringList paths;
    for (const QString &relative : relativePaths) {
        const QString path = resourcePath(relative);
        if (!keptPictures().contains(path) && !paths.contains(path))
            paths.append(path);
    }
    if (paths.size() < 2)
        return;
    static QThreadPool pool;
    std::vector<QImage> images(size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i)
        pool.start([&images, &paths, i] { images[size_t(i)].load(paths.at(i)); });
    pool.waitForDone();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!images[size_t(i)].isNull())
            keptPictures().insert(paths.at(i), QPixmap::fromImage(std::move(images[size_t(i)])));
    }
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

QPixmap picture(const QString &relativePath)
{
    const QString path = resourcePath(relativePath);
    if (const auto it = keptPictures().constFind(path); it != keptPictures().constEnd())
        return it.value();
    QPixmap pixmap;
    if (!pixmap.load(path))
        return {};
    keptPictures().insert(path, pixmap);
    return pixmap;
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

int pendingPictureCount(QWidget *window)
{
    const PendingPictures *pending = PendingPictures::of(window);
    return pending ? pending->count() : 0;
}

} // namespace kr31
