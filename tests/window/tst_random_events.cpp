// Thousands of random clicks and drops through the window, genuine and foreign, anywhere on it:
// after each one the window must still show exactly what its core holds.
#include "window_test_support.h"

#include "app/window_font.h"
#include "board/symbol_drag.h"
#include "check/accepted_keys.h"
#include "core/core_test_support.h"

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
QString mismatch(const Form1Window& window) {
    const FormState& s = window.core().state;
    for (const char* name : {"Label2", "Label3", "Label4", "Label5", "Label6", "Label9"}) {
        const auto* label = controlAs<QLabel>(window, QString::fromLatin1(name));
        const std::string& text = name[5] == '2'   ? s.label2
                                  : name[5] == '3' ? s.label3
                                  : name[5] == '4' ? s.label4
                                  : name[5] == '5' ? s.label5
                                  : name[5] == '6' ? s.label6
                                                   : s.label9;
        if (label->text() != shownText(text)) return QString::fromLatin1(name);
    }
    if (controlAs<QLineEdit>(window, "Text1")->text() != shownText(s.text1)) return "Text1";
    if (controlAs<QLabel>(window, "Label2")->font().pointSizeF() != s.label2FontPt)
        return "Label2 size";
    if (controlAs<QLabel>(window, "Label9")->isVisibleTo(&window) != s.label9Visible)
        return "Label9 visibility";
    if (controlAs<QPushButton>(window, "Command3")->isVisibleTo(&window) != s.command3Visible)
        return "Command3 visibility";
    for (int k = 1; k <= kSlotCount; ++k)
        if (slotImage(window, k)->picture() != slotAt(s, k).picture)
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

        Form1Window window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Form1Window stranger; // another window: its drags must not be taken

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
            const FormState& now = window.core().state;
            const int question = now.questionNumber;
            if (pick(10) == 0 && now.runStarted && question >= 1 && question <= kLawCount) {
                // A right answer now and then, so that both counts move.
                clickThroughWindow(window, "Command2");
                const bool trainer = now.option1[0];
                const auto law = static_cast<std::size_t>(question - 1);
                int image = trainer ? 24 : kFirstSlotImage;
                const auto tags =
                    core_test::splitKey(trainer ? rightSideKeys[law] : kLaws[law].key);
                QVERIFY(tags);
                for (const std::string& tag : *tags) {
                    const std::unique_ptr<QMimeData> data(
                        makeSymbolMimeData(window.dragToken(), qs(tag)));
                    dropOn(window.control(QStringLiteral("Image%1").arg(image++)), data.get());
                }
            } else if (pick(2) == 0) {
                clickThroughWindow(window, clickable[pick(clickable.size())]);
            } else {
                const auto* source = controlAs<SymbolImage>(window, palette[pick(palette.size())]);
                std::unique_ptr<QMimeData> data;
                switch (pick(5)) {
                case 0:
                    data.reset(makeSymbolMimeData(stranger.dragToken(), source->tag()));
                    break;
                case 1:
                    data = std::make_unique<QMimeData>();
                    data->setText(source->tag());
                    break;
                default:
                    data.reset(makeSymbolMimeData(window.dragToken(), source->tag()));
                }
                dropOn(window.control(targets[pick(targets.size())]), data.get());
            }
            rightSeen = rightSeen || window.core().state.rightCount > 0;
            wrongSeen = wrongSeen || window.core().state.wrongCount > 0;
            const QString wrong = mismatch(window);
            QVERIFY2(wrong.isEmpty(),
                     qPrintable(
                         QStringLiteral("step %1: %2 differs from the core").arg(step).arg(wrong)));
        }
        // The sequence really played: answers were counted both ways.
        QVERIFY(window.core().state.runStarted);
        QVERIFY(rightSeen && wrongSeen);
    }
};

QTEST_MAIN(RandomEvents)
#include "tst_random_events.moc"
