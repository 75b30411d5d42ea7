#pragma once

// Small pictures of originals for the window: the tree's icons and the item page's picture.
// The core's picture pipeline makes them on worker threads, because a photo of 40
// megapixels, a damaged file that the reader's work limits must stop, or a slow disk would
// otherwise hold the window still; a picture the window asks for while it paints is
// answered at once with what is known, and ready() follows on the window's thread when a
// new one is made. Pictures are kept in memory by path and box; a file's stamp is looked at
// again, off the window's thread, when its picture is asked for a while after the last look.

#include "platform/FileStamp.h"

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <cstdint>
#include <optional>

class PictureLoader : public QObject
{
    Q_OBJECT
public:
    struct Picture
    {
        enum class State { loading, shown, missing, refused };
        State state = State::loading;
        QPixmap pixmap;  // shown: upright, fitted into the box asked for
        QSize original;  // shown: the original's size, upright
        QString problem; // refused: why, naming the file
    };
    // The item page's picture is the one the user waits for: it goes before the tree's.
    enum class Urgency { background, now };

    explicit PictureLoader(QObject *parent = nullptr);
    // Waits for the pictures being made; those only queued are dropped.
    ~PictureLoader() override;

    // What is known of path's picture in box (device pixels). A picture not made yet, or
    // one last looked at a while ago, is (re)made meanwhile; ready() tells when it changes.
    Picture picture(const QString &path, QSize box, Urgency urgency = Urgency::background);
    // Forgets every picture, as when the user may have changed files behind the window.
    void clear();

signals:
    void ready(const QString &path, QSize box);

private:
    struct Key
    {
        QString path;
        QSize box;
        bool operator==(const Key &) const = default;
    };
    friend size_t qHash(const Key &key, size_t seed)
    {
        return qHashMulti(seed, key.path, key.box.width(), key.box.height());
    }
    struct Entry
    {
        Picture picture;
        FileStamp stamp;
        qint64 lookedAt = -1; // ms on m_clock; never
        std::uint64_t used = 0;
        bool pending = false;
    };
    // What a worker found; `unchanged` when the file's stamp is the one known.
    struct Made
    {
        bool unchanged = false;
        FileStamp stamp;
        Picture::State state = Picture::State::missing;
        QImage image;
        QSize original;
        QString problem;
    };

    // known: the file's stamp when its picture was last made; none the first time.
    void request(const Key &key, std::optional<FileStamp> known, Urgency urgency);
    static Made make(const QString &path, QSize box, const std::optional<FileStamp> &known);
    void finish(const Key &key, const Made &made);
    void forgetLeastUsed();

    QHash<Key, Entry> m_entries;
    std::uint64_t m_uses = 0;
    qint64 m_epoch = 0; // a clear() drops the results of work begun before it
    QElapsedTimer m_clock;
    QThreadPool m_workers;
};
