// Thousands of random clicks and drops through the window, genuine and foreign, anywhere on it:
// after each one the window must still show exactly what its core holds.
#include "window_test_support.h"

#include "look/window_font.h"
#include "pupil/symbol_drag.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <random>

namespace {

void dropOn(QWidget* target, const QMimeData* data) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

// Where the widgets and the core disagree, or empty when they agree.
QString mismatch(const MainWindow& window) {
    const FormState& s = window.form().state;
    const std::pair<const char*, const std::string*> texts[]{
        {"Label2", &s.lawName},    {"Label3", &s.questionShown}, {"Label4", &s.rightShown},
        {"Label5", &s.wrongShown}, {"Label6", &s.prompt},        {"Label9", &s.instructions}};
    for (const auto& [name, text] : texts)
        if (controlAs<QLabel>(window, QString::fromLatin1(name))->text() != qs(*text))
            return QString::fromLatin1(name);
    if (controlAs<QLineEdit>(window, "Text1")->text() != qs(s.verdict)) return "Text1";
    if (controlAs<QLabel>(window, "Label2")->font().pointSizeF() != s.lawNamePt)
        return "Label2 size";
    if (controlAs<QLabel>(window, "Label9")->isVisibleTo(&window) != s.instructionsVisible)
        return "Label9 visibility";
    if (controlAs<QLabel>(window, "Label6")->isVisibleTo(&window) != s.promptVisible)
        return "Label6 visibility";
    if (controlAs<QLabel>(window, "Label9")->palette().color(QPalette::Window) !=
        expectedColour(s.instructionsBack, window.palette()))
        return "Label9 colour";
    if (controlAs<QPushButton>(window, "Command3")->isVisibleTo(&window) != s.hintButtonVisible)
        return "Command3 visibility";
    for (int k = 1; k <= kSlotCount; ++k)
        if (slotImage(window, k)->picture() != s.slot(k).picture)
            return QStringLiteral("slot %1").arg(k);
    for (const QString& name : hintImageNames())
        if (window.control(name)->isVisibleTo(&window)) return name;
    return {};
}

} // namespace

class RandomEvents : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { installWindowFont(); }

    void windowFollowsItsCoreThroughAnyEvents_data() {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed : {7u, 11u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void windowFollowsItsCoreThroughAnyEvents() {
        QFETCH(unsigned, seed);
        std::mt19937 random(seed);
        auto pick = [&](qsizetype n) { return static_cast<qsizetype>(random() % quint64(n)); };

        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        MainWindow stranger; // another window: its drags must not be taken

        // Everything a click may land on, the rules button aside (its box is modal).
        QStringList clickable{"Command1",   "Command2",   "Command3", "Cmd3_Start",
                              "Option1(0)", "Option1(1)", "Label2",   "Label6",
                              "Text1",      "Picture1",   "Frame4"};
        clickable << paletteNames() << numbered("Image", 16, 34);
        QStringList targets = numbered("Image", 1, 37);
        targets << "Command1"
                << "Text1"
                << "Label2"
                << "Frame1";
        const QStringList palette = paletteNames();

        bool rightSeen = false, wrongSeen = false;
        for (int step = 0; step < 3000; ++step) {
            const FormState& now = window.form().state;
            const int question = now.question;
            if (pick(10) == 0 && now.runGoing && question >= 1 && question <= kLawCount) {
                // A right answer now and then, so that both counts move: in trainer mode the
                // right-hand side after the drawn left one, in test mode the whole law.
                clickThroughWindow(window, "Command2");
                const auto tags = law_keys::lawTags(question);
                QVERIFY(!tags.empty());
                const int from = now.mode == Mode::trainer ? law_keys::leftSideLength(question) : 0;
                for (int i = from; i < int(tags.size()); ++i) {
                    const std::unique_ptr<QMimeData> data =
                        paletteData(window, tags[static_cast<std::size_t>(i)]);
                    dropOn(slotImage(window, i + 1), data.get());
                }
            } else if (pick(2) == 0) {
                clickThroughWindow(window, clickable[pick(clickable.size())]);
            } else {
                const auto* source = controlAs<SymbolImage>(window, palette[pick(palette.size())]);
                std::unique_ptr<QMimeData> data;
                switch (pick(5)) {
                case 0:
                    data.reset(makeSymbolMimeData(dragTokenOf(stranger), source->tag()));
                    break;
                case 1:
                    data = std::make_unique<QMimeData>();
                    data->setText(source->tag());
                    break;
                default:
                    data.reset(source->dragData());
                }
                dropOn(window.control(targets[pick(targets.size())]), data.get());
            }
            rightSeen = rightSeen || window.form().state.rightCount > 0;
            wrongSeen = wrongSeen || window.form().state.wrongCount > 0;
            const QString wrong = mismatch(window);
            QVERIFY2(wrong.isEmpty(),
                     qPrintable(
                         QStringLiteral("step %1: %2 differs from the core").arg(step).arg(wrong)));
        }
        // The sequence really played: answers were counted both ways.
        QVERIFY(window.form().state.runGoing);
        QVERIFY(rightSeen && wrongSeen);
    }
};

QTEST_MAIN(RandomEvents)
#include "tst_random_events.moc"
