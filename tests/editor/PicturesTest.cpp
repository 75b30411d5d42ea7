// The originals as the window shows them: the tree's icons, file names and tooltips, and the
// item page's picture, made off the window's thread.

#include "SyntheticPhoto.h"
#include "WindowUnderTest.h"
#include "generate/OriginalJpegs.h"
#include "model/InMemoryDesignTree.h"
#include "ui_TMainForm.h"

#include <QTest>
#include <cstdio>
#include <jpeglib.h>
#include <sys/stat.h>

namespace {

// A photo of width x height drawn from a small synthetic one, each of its pixels repeated:
// rendering 40 megapixels of scene would take the test many seconds, encoding them only one.
void writeLargePhoto(const std::string &path, int width, int height)
{
    const SyntheticPhoto small(width / 16, height / 16, 4);
    const std::vector<std::uint8_t> rgb = small.renderRgb();
    std::FILE *file = std::fopen(path.c_str(), "wb");
    QVERIFY(file);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 60, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *source = &rgb[std::size_t(y / 16) * small.width() * 3];
        for (int x = 0; x < width; ++x)
            std::copy_n(source + std::size_t(x / 16) * 3, 3, &row[std::size_t(x) * 3]);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

// The size of what an icon shows in its square: the opaque pixels' bounds.
QSize pictureIn(const QIcon &icon, QSize square)
{
    const QImage image = icon.pixmap(square).toImage();
    QRect shown;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                shown |= QRect(x, y, 1, 1);
    return shown.size();
}

} // namespace

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void eachItemShowsItsOriginal();
};

// A portrait stored on its side, a 40-megapixel photo, a pipe, which no picture may wait on
// (a reader that did would leave its row and the page without a picture for ever), and a
// picture of endless scans, which the reader's work limits stop.
void PicturesTest::eachItemShowsItsOriginal()
{
    WindowUnderTest window;
    TempFolder &folder = window.folder;
    SyntheticPhoto(400, 300, 3).writeJpeg(folder.file("portrait.jpg"), {.orientation = 6});
    writeLargePhoto(folder.file("large.jpg"), 7744, 5168);
    QCOMPARE(::mkfifo(folder.file("pipe.jpg").c_str(), 0600), 0);
    writeBytes(folder.file("scans.jpg"), encodeScanBomb(renderPhoto(320, 240), 101));
    const struct
    {
        const char *name;
        const char *tip; // the picture's size, or why none is shown
        QSize icon;
        QSize pagePicture;
        const char *pageText;
    } rows[] = {
        {"portrait.jpg", "Picture: 300 x 400 pixels", QSize(30, 40), QSize(90, 120), ""},
        {"large.jpg", "Picture: 7744 x 5168 pixels", QSize(40, 27), QSize(180, 120), ""},
        {"pipe.jpg", "it is a named pipe", QSize(), QSize(0, 0), "Cannot show this picture"},
        {"scans.jpg", "too many scans", QSize(), QSize(0, 0), "Cannot show this picture"},
    };
    {
        TzybAppletAgent agent(folder.path());
        agent.SetDefaults();
        InMemoryDesignTree tree;
        for (int i = 0; i < int(std::size(rows)); ++i) {
            agent.insertChildItem(tree, tree.root());
            TItemData item = agent.GetItem(i);
            item.IOriginalImagePath = folder.file(rows[i].name);
            agent.SetItem(item, i);
        }
        agent.SaveToFile(folder.file("show.jfs"));
    }
    window.window->commands().openProjectFile(folder.file("show.jfs"));
    QTreeWidget &tree = *window.window->ui().trvwDesignPanel;
    Ui::TMainForm &ui = window.window->ui();
    for (int i = 0; i < int(std::size(rows)); ++i) {
        const auto &row = rows[i];
        QTreeWidgetItem *item = tree.topLevelItem(0)->child(i);
        QCOMPARE(item->text(0), QStringLiteral("Image: ") + QLatin1String(row.name));
        const QString path = QString::fromStdString(folder.file(row.name));
        if (row.icon.isValid()) {
            // The icon is the picture upright, fitted into the icon's square.
            const auto iconOf = [&] { return pictureIn(item->icon(0), tree.iconSize()); };
            QTRY_COMPARE_WITH_TIMEOUT(iconOf(), row.icon, 20000);
            const QString tip = item->toolTip(0);
            QVERIFY2(tip.startsWith(path) && tip.contains(QLatin1String(row.tip)) &&
                         tip.contains(QLatin1String("Slide: ")),
                     qPrintable(tip));
        } else {
            QTRY_VERIFY2(item->toolTip(0).contains(QLatin1String(row.tip)),
                         qPrintable(item->toolTip(0)));
        }
        tree.setCurrentItem(item);
        QTRY_COMPARE(ui.lblPicture->pixmap().size(), row.pagePicture);
        QTRY_COMPARE(ui.lblPicture->text(), QString::fromLatin1(row.pageText));
    }
}

QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
