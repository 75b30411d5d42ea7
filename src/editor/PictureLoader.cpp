#include "PictureLoader.h"

#include "QtText.h"
#include "generate/PictureThumbnail.h"

#include <QRunnable>
#include <algorithm>
#include <exception>
#include <vector>

namespace {

// A picture is looked at again when asked for this long after the last look: a file that a
// photo editor rewrites shows anew, and a repaint does not cost a look at every file.
constexpr qint64 lookAgainAfterMs = 2000;
// Tree icons of a few thousand items; beyond that the least used go.
constexpr qsizetype maxEntries = 4000;

QImage toQImage(const RgbImage &rgb)
{
    QImage image(rgb.width, rgb.height, QImage::Format_RGB888);
    const std::size_t rowBytes = std::size_t(rgb.width) * 3;
    for (int y = 0; y < rgb.height; ++y)
        std::copy_n(&rgb.pixels[std::size_t(y) * rowBytes], rowBytes, image.scanLine(y));
    return image;
}

} // namespace

PictureLoader::PictureLoader(QObject *parent) : QObject(parent)
{
    m_clock.start();
}

PictureLoader::~PictureLoader()
{
    m_workers.clear();
    m_workers.waitForDone();
}

PictureLoader::Picture PictureLoader::picture(const QString &path, QSize box, Urgency urgency)
{
    const Key key{path, box};
    Entry &entry = m_entries[key];
    entry.used = ++m_uses;
    const bool looked = entry.lookedAt >= 0;
    if (!entry.pending && (!looked || m_clock.elapsed() - entry.lookedAt >= lookAgainAfterMs)) {
        entry.pending = true;
        request(key, looked ? std::optional(entry.stamp) : std::nullopt, urgency);
    }
    return entry.picture;
}

void PictureLoader::clear()
{
    m_workers.clear();
    m_entries.clear();
    ++m_epoch;
}

void PictureLoader::request(const Key &key, std::optional<FileStamp> known, Urgency urgency)
{
    const qint64 epoch = m_epoch;
    m_workers.start(QRunnable::create([this, key, known, epoch] {
                        const Made made = make(key.path, key.box, known);
                        // Queued to this object: a result still on its way when the loader goes is
                        // dropped.
                        QMetaObject::invokeMethod(
                            this,
                            [this, key, made, epoch] {
                                if (epoch == m_epoch)
                                    finish(key, made);
                            },
                            Qt::QueuedConnection);
                    }),
                    urgency == Urgency::now ? 1 : 0);
}

// On a worker: the file's stamp first, so that an unchanged picture costs one look.
PictureLoader::Made PictureLoader::make(const QString &path, QSize box,
                                        const std::optional<FileStamp> &known)
{
    Made made;
    const std::string file = toBytes(path);
    made.stamp = FileStamp::of(file);
    // A file still missing is unchanged too: its row need not be painted again.
    if (made.stamp == known) {
        made.unchanged = true;
        return made;
    }
    if (!made.stamp.exists)
        return made;
    try {
        const PictureThumbnail thumbnail = makePictureThumbnail(file, box.width(), box.height());
        made.state = Picture::State::shown;
        made.image = toQImage(thumbnail.picture);
        made.original = QSize(thumbnail.originalWidth, thumbnail.originalHeight);
    } catch (const std::exception &e) {
        made.state = Picture::State::refused;
        made.problem = toQString(e.what());
    }
    return made;
}

void PictureLoader::finish(const Key &key, const Made &made)
{
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return;
    Entry &entry = found.value();
    entry.pending = false;
    entry.lookedAt = m_clock.elapsed();
    if (made.unchanged)
        return;
    entry.stamp = made.stamp;
    entry.picture.state = made.state;
    entry.picture.pixmap = made.image.isNull() ? QPixmap() : QPixmap::fromImage(made.image);
    entry.picture.original = made.original;
    entry.picture.problem = made.problem;
    if (m_entries.size() > maxEntries)
        forgetLeastUsed();
    emit ready(key.path, key.box);
}

// The half used longest ago goes; pictures being made stay, so that their results land.
void PictureLoader::forgetLeastUsed()
{
    std::vector<std::uint64_t> uses;
    uses.reserve(std::size_t(m_entries.size()));
    for (const Entry &entry : std::as_const(m_entries))
        uses.push_back(entry.used);
    auto middle = uses.begin() + std::ptrdiff_t(uses.size() / 2);
    std::nth_element(uses.begin(), middle, uses.end());
    const std::uint64_t oldest = *middle;
    m_entries.removeIf(
        [oldest](const auto &item) { return !item.value().pending && item.value().used < oldest; });
}
