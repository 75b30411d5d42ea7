// The design tree's commands driven through the real window: the tree widget moves its own
// selection as Qt moves it, and after every step the widget, the core's tree, the item list
// and the page shown must tell the same story; after Save and Open too.

#include "editor/WindowUnderTest.h"
#include "ui_TMainForm.h"

#include <QTest>

namespace {

struct Step
{
    const char *action; // "select N" (N in depth-first order, 0 the root), "up", "down",
                        // "delete", "insert", "undo", "redo", "tip TEXT", "drop N on M",
                        // "drop N before M"
    const char *shape;  // items by tooltip, ">" per level, the selected one in brackets,
                        // "^" first while the root is selected, "?" an item without tooltip
};

struct Case
{
    const char *name;
    std::vector<int> levels; // the project's items a, b, c, ... with these levels
    std::vector<Step> steps;
};

const Case cases[] = {
    {"move up the middle of three",
     {0, 0, 0},
     {{"select 2", "a [b] c"}, {"up", "[b] a c"}, {"undo", "a [b] c"}, {"redo", "[b] a c"}}},
    {"move down the first of three",
     {0, 0, 0},
     {{"select 1", "[a] b c"}, {"down", "b [a] c"}, {"down", "b c [a]"}, {"undo", "b [a] c"}}},
    {"delete the first of three",
     {0, 0, 0},
     {{"select 1", "[a] b c"}, {"delete", "[b] c"}, {"undo", "[a] b c"}, {"redo", "[b] c"}}},
    {"delete the first of two",
     {0, 0},
     {{"select 1", "[a] b"}, {"delete", "[b]"}, {"undo", "[a] b"}}},
    {"delete the last", {0, 0, 0}, {{"select 3", "a b [c]"}, {"delete", "a [b]"}}},
    {"delete a subtree",
     {0, 1, 1, 0},
     {{"select 1", "[a] >b >c d"}, {"delete", "[d]"}, {"undo", "[a] >b >c d"}}},
    {"delete a child with its siblings around",
     {0, 1, 1, 1},
     {{"select 3", "a >b >[c] >d"}, {"delete", "a >b >[d]"}, {"delete", "a >[b]"}}},
    {"move a subtree up past a leaf",
     {0, 0, 1, 1},
     {{"select 2", "a [b] >c >d"}, {"up", "[b] >c >d a"}, {"undo", "a [b] >c >d"}}},
    {"insert, undo, redo",
     {0, 0},
     {{"select 0", "^ a b"}, {"insert", "^ a b ?"}, {"undo", "^ a b"}, {"redo", "^ a b ?"}}},
    {"a tooltip edit is one step and moves with its item",
     {0, 0, 0},
     {{"select 2", "a [b] c"},
      {"tip X", "a [X] c"},
      {"select 3", "a X [c]"},
      {"up", "a [c] X"},
      {"undo", "a X [c]"},
      {"undo", "a [b] c"},
      {"redo", "a [X] c"}}},
    {"a typed tooltip is kept by a move of another item",
     {0, 0, 0},
     {{"select 1", "[a] b c"}, {"tip Y", "[Y] b c"}, {"select 3", "Y b [c]"}, {"up", "Y [c] b"}}},
    {"drops make children and siblings",
     {0, 0, 0},
     {{"drop 3 on 1", "a >[c] b"},
      {"drop 2 before 1", "[c] a b"},
      {"undo", "a >[c] b"},
      {"undo", "a b [c]"}}},
    {"a drop into its own subtree is refused", {0, 1}, {{"drop 1 on 2", "^ a >b"}}},
};

class TreeCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowUnderTest<>> m_test;

    TMainForm &window() { return *m_test->window; }
    const TempFolder &folder() { return m_test->folder; }

    QTreeWidget &widget() { return *window().ui().trvwDesignPanel; }
    QTreeWidgetItem *itemAt(int index)
    {
        return window().treeView().itemOf(window().designTree().nodeAt(index));
    }

    void open(const std::vector<int> &levels)
    {
        TzybAppletAgent agent(folder().path());
        agent.SetDefaults();
        for (std::size_t i = 0; i < levels.size(); ++i) {
            TItemData item = agent.NewItemData();
            item.IToolTip = levels.size() <= 26 ? std::string(1, char('a' + i)) : "x";
            item.ILink = item.IToolTip + ".html";
            item.ILevel = std::to_string(levels[i]);
            agent.InsertItem(agent.itemCount(), item);
        }
        agent.SaveToFile(folder().file("start.jfs"));
        window().commands().openProjectFile(folder().file("start.jfs"));
    }

    // Walks the widget: each of its items must be the core's node at the same place, and the
    // list's item there gives the name. Any disagreement shows in the text.
    QString shape()
    {
        const DesignTreeView &view = window().treeView();
        const InMemoryDesignTree &tree = window().designTree();
        QStringList parts;
        if (widget().currentItem() == view.rootItem())
            parts << QStringLiteral("^");
        int index = 0;
        std::vector<std::pair<QTreeWidgetItem *, int>> pending{{view.rootItem(), 0}};
        while (!pending.empty()) {
            auto [item, depth] = pending.back();
            pending.pop_back();
            if (tree.absoluteIndex(view.nodeOf(item)) != index)
                return QStringLiteral("widget and tree differ at %1").arg(index);
            if (index > 0)
                parts << itemText(item, index, depth);
            ++index;
            for (int i = item->childCount(); i > 0; --i)
                pending.emplace_back(item->child(i - 1), depth + 1);
        }
        if (index != tree.count() || tree.count() != window().agent().itemCount() + 1)
            return QStringLiteral("counts differ");
        return parts.join(QLatin1Char(' '));
    }

    QString itemText(QTreeWidgetItem *item, int index, int depth)
    {
        const TItemData data = window().agent().GetItem(index - 1);
        QString name =
            data.IToolTip.empty() ? QStringLiteral("?") : QString::fromStdString(data.IToolTip);
        const bool original = data.IToolTip.size() == 1 && std::islower(data.IToolTip[0]);
        if (original && data.ILink != data.IToolTip + ".html")
            name += QStringLiteral("(link %1)").arg(QString::fromStdString(data.ILink));
        if (item == widget().currentItem()) {
            // The page shows the selected item's own values.
            if (window().ui().edt_IToolTip->text().toStdString() != data.IToolTip)
                name += QStringLiteral("(page shows %1)").arg(window().ui().edt_IToolTip->text());
            name = QLatin1Char('[') + name + QLatin1Char(']');
        }
        return QString(depth - 1, QLatin1Char('>')) + name;
    }

    void drop(int dragged, int target, bool onto)
    {
        QTreeWidgetItem *over = itemAt(target);
        widget().scrollToItem(over);
        const QRect rect = widget().visualItemRect(over);
        const QPoint at(rect.center().x(), onto ? rect.center().y() : rect.top() + 1);
        window().dropTreeNode(itemAt(dragged), at);
    }

    void act(const QString &action)
    {
        const QStringList words = action.split(QLatin1Char(' '));
        Ui::TMainForm &ui = window().ui();
        if (words[0] == QStringLiteral("select"))
            widget().setCurrentItem(itemAt(words[1].toInt()));
        else if (words[0] == QStringLiteral("tip")) {
            ui.edt_IToolTip->selectAll();
            QTest::keyClicks(ui.edt_IToolTip, words[1]);
            QTest::keyClick(ui.edt_IToolTip, Qt::Key_Return);
        } else if (words[0] == QStringLiteral("drop"))
            drop(words[1].toInt(), words[3].toInt(), words[2] == QStringLiteral("on"));
        else {
            const std::map<QString, QAction *> actions{
                {QStringLiteral("up"), ui.MoveUp2},
                {QStringLiteral("down"), ui.MoveDown2},
                {QStringLiteral("delete"), ui.Delete2},
                {QStringLiteral("insert"), ui.Insert2},
                {QStringLiteral("undo"), &window().undoAction()},
                {QStringLiteral("redo"), &window().redoAction()}};
            QAction *command = actions.at(words[0]);
            QVERIFY2(command->isEnabled(), qPrintable(action + QStringLiteral(" is offered")));
            m_test->prompts.script.answers = {"yes"};
            command->trigger();
        }
    }

private slots:
    void init() { m_test = std::make_unique<WindowUnderTest<>>(); }
    void cleanup() { m_test.reset(); }

    void stepsKeepWidgetTreeListAndPageTogether_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(cases)); ++i)
            QTest::newRow(cases[i].name) << i;
    }

    void stepsKeepWidgetTreeListAndPageTogether()
    {
        QFETCH(int, index);
        const Case &c = cases[index];
        open(c.levels);
        for (const Step &step : c.steps) {
            act(QString::fromLatin1(step.action));
            QCOMPARE(shape(), QString::fromLatin1(step.shape));
        }
        // What the window shows is what Save writes and Open reads back.
        const QString last = QString::fromLatin1(c.steps.back().shape)
                                 .remove(QLatin1Char('['))
                                 .remove(QLatin1Char(']'))
                                 .remove(QStringLiteral("^ "));
        window().commands().saveAsPath(folder().file("saved.jfs"));
        QVERIFY(!window().commands().modified());
        window().commands().openProjectFile(folder().file("saved.jfs"));
        QCOMPARE(shape(), QStringLiteral("^ ") + last);
    }

    // Undoing back to the saved state clears the modified mark; redoing away sets it.
    void theSavedStateIsAPlaceInTheHistory()
    {
        open({0, 0});
        QVERIFY(!window().ui().Save1->isEnabled());
        act(QStringLiteral("select 2"));
        QVERIFY2(!window().ui().Save1->isEnabled(), "selecting is no change");
        act(QStringLiteral("up"));
        QCOMPARE(window().undoAction().text(), QStringLiteral("&Undo Move Up"));
        QVERIFY(window().ui().Save1->isEnabled());
        act(QStringLiteral("undo"));
        QVERIFY(!window().ui().Save1->isEnabled());
        QCOMPARE(window().redoAction().text(), QStringLiteral("&Redo Move Up"));
        act(QStringLiteral("redo"));
        QVERIFY(window().ui().Save1->isEnabled());
        act(QStringLiteral("down"));
        QVERIFY2(!window().ui().MoveDown2->isEnabled(), "the last item has nothing below");
        m_test->prompts.script.answers = {"no"};
        window().New1Click();
        QVERIFY(!window().undoAction().isEnabled());
        // The commands follow the root that New selects.
        QVERIFY(window().ui().Insert2->isEnabled());
        QVERIFY(!window().ui().Delete2->isEnabled() && !window().ui().MoveUp2->isEnabled());
    }

    // Values keep their full length through the page, Save and Open; a refused name goes
    // back to the open show's own name.
    void longValuesAndARefusedName()
    {
        open({0});
        act(QStringLiteral("select 1"));
        const QString tip(40000, QLatin1Char('t'));
        window().ui().edt_IToolTip->setText(tip);
        act(QStringLiteral("select 0"));
        window().ui().edt_pSliderName->setText(QStringLiteral("WideBanner"));
        emit window().ui().edt_pSliderName->editingFinished();
        window().commands().saveAsPath(folder().file("long.jfs"));
        window().commands().openProjectFile(folder().file("long.jfs"));
        QCOMPARE(window().agent().GetItem(0).IToolTip.size(), std::size_t(40000));
        QTest::keyClick(window().ui().edt_pSliderName, Qt::Key_Minus);
        QCOMPARE(window().ui().edt_pSliderName->text(), QStringLiteral("WideBanner"));
    }

    // Text written on Windows is shown as it reads there and kept byte for byte: the pages
    // write back only what the user changed.
    void eightBitTextIsKeptThroughOpenAndSave()
    {
        TzybAppletAgent agent(folder().path());
        agent.SetDefaults();
        TAppletData show = agent.GetAppletData();
        show.pInternalUse_RootDir_Local = "/home/caf\xe9";
        show.pInternalUse_RootDir_Remote = "https://example.org/caf\xe9";
        agent.SetAppletData(show);
        TItemData item = agent.NewItemData();
        item.IToolTip = "Caf\xe9 cr\xe8me \x80";
        item.ILink = "caf\xe9.html";
        item.ILevel = "0";
        agent.InsertItem(0, item);
        agent.SaveToFile(folder().file("cp1252.jfs"));
        window().commands().openProjectFile(folder().file("cp1252.jfs"));
        act(QStringLiteral("select 1"));
        QCOMPARE(window().ui().edt_IToolTip->text(), QStringLiteral("Caf\u00e9 cr\u00e8me \u20ac"));
        act(QStringLiteral("select 0"));
        QCOMPARE(window().ui().edtpInternalUse_RootDir_Local->text(),
                 QStringLiteral("/home/caf\u00e9"));
        window().commands().saveAsPath(folder().file("cp1252.jfs"));
        const std::string saved = readBytes(folder().file("cp1252.jfs"));
        for (const char *bytes : {"Caf\xe9 cr\xe8me \x80", "caf\xe9.html", "/home/caf\xe9#$@",
                                  "https://example.org/caf\xe9#$@"})
            QVERIFY2(saved.find(bytes) != std::string::npos, bytes);
    }

    // A chain nested deeper than any recursion could follow opens, edits and closes.
    void aDeepChainOpensEditsAndCloses()
    {
        open(std::vector<int>(1, 0));
        std::vector<int> levels(150000);
        for (std::size_t i = 0; i < levels.size(); ++i)
            levels[i] = int(i);
        open(levels);
        QCOMPARE(window().designTree().count(), int(levels.size()) + 1);
        act(QStringLiteral("select 1"));
        act(QStringLiteral("delete"));
        QCOMPARE(window().designTree().count(), 1);
        act(QStringLiteral("undo"));
        QCOMPARE(window().designTree().count(), int(levels.size()) + 1);
        m_test->prompts.script.answers = {"no"};
        window().New1Click();
        QCOMPARE(widget().topLevelItem(0)->childCount(), 0);
        open(levels);
    }
};

} // namespace

QTEST_MAIN(TreeCommandsTest)
#include "TreeCommandsTest.moc"
