// Clicks on the window's buttons and drops on its slots reach the core, the widgets then show
// the core's state, and drops from anywhere but this window's palette are refused.
#include "window_test_support.h"

#include "look/window_font.h"
#include "pupil/symbol_drag.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

struct DropOutcome {
    bool enterAccepted, moveAccepted, dropAccepted;
};

// A drag that enters the target, moves over it and is released there. A drop is delivered only
// to the widget that accepted the drag's entry, as in a real drag.
DropOutcome dragAndDrop(QWidget* target, const QMimeData* data) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), move.isAccepted(), drop.isAccepted()};
}

// What a palette image of the window carries when the pupil drags it.
std::unique_ptr<QMimeData> paletteDrag(const MainWindow& window, const QString& palette) {
    return std::unique_ptr<QMimeData>(controlAs<SymbolImage>(window, palette)->dragData());
}

// Data from elsewhere: other programs, another copy of this window, damaged payloads.
std::unique_ptr<QMimeData> foreignData(const QString& kind, const QByteArray& token,
                                       const QByteArray& otherToken) {
    auto data = std::make_unique<QMimeData>();
    const QByteArray type(kSymbolMimeType);
    if (kind == "plain text x") data->setText("x");
    if (kind == "plain text или") data->setText(QStringLiteral("или"));
    if (kind == "html") data->setHtml("<b>x</b>");
    if (kind == "file url") data->setUrls({QUrl::fromLocalFile("/tmp/x.svg")});
    if (kind == "http url") data->setUrls({QUrl("http://example.org/x.svg")});
    if (kind == "image") {
        QImage picture(32, 32, QImage::Format_ARGB32);
        picture.fill(Qt::blue);
        data->setImageData(picture);
    }
    if (kind == "another window") data.reset(makeSymbolMimeData(otherToken, "x"));
    if (kind == "no newline") data->setData(type, token + "x");
    if (kind == "token alone") data->setData(type, token);
    if (kind == "empty payload") data->setData(type, {});
    if (kind == "empty token") data->setData(type, "\nx");
    if (kind == "part of the token") data->setData(type, token.left(token.size() / 2) + "\nx");
    if (kind == "payload as text") data->setData("text/plain", token + "\nx");
    if (kind == "similar type") data->setData(type + "-other", token + "\nx");
    return data;
}

// The instructions' colour a Start draws from a seed, worked out apart from the core: 53 random
// bits scaled to one of the 2^24 colours, the drawn number holding red in its low byte and blue
// in its high one.
QRgb drawnColour(std::uint64_t seed) {
    std::mt19937_64 generator(seed);
    const double r = static_cast<double>(generator() >> 11) * 0x1.0p-53;
    const auto drawn = static_cast<std::uint32_t>(r * 16777216.0);
    return qRgb(int(drawn & 0xFF), int(drawn >> 8 & 0xFF), int(drawn >> 16 & 0xFF));
}

// The WCAG 2.x contrast ratio of two painted colours, worked out apart from the core: the
// relative luminance of the linearised sRGB channels, then (lighter + 0.05) / (darker + 0.05).
double wcagLuminance(QRgb colour) {
    auto linear = [](int channel) {
        const double s = channel / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) +
           0.0722 * linear(qBlue(colour));
}

double wcagRatio(QRgb a, QRgb b) {
    const double la = wcagLuminance(a), lb = wcagLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int colourDistance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

QString hexOf(QRgb colour) {
    return QColor(colour).name();
}

// The seeds whose colours read worst with either black or white: those where the two read
// most alike, the middle grey-ish band where a wrong choice is easiest to make.
std::vector<std::uint64_t> hardestSeeds(std::uint64_t from, std::uint64_t to, std::size_t count) {
    std::vector<std::pair<double, std::uint64_t>> scored;
    for (std::uint64_t seed = from; seed < to; ++seed) {
        const QRgb back = drawnColour(seed);
        scored.emplace_back(
            std::max(wcagRatio(back, qRgb(0, 0, 0)), wcagRatio(back, qRgb(255, 255, 255))), seed);
    }
    std::partial_sort(scored.begin(), scored.begin() + std::ptrdiff_t(count), scored.end());
    std::vector<std::uint64_t> seeds;
    for (std::size_t i = 0; i < count; ++i)
        seeds.push_back(scored[i].second);
    return seeds;
}

} // namespace

Q_DECLARE_METATYPE(std::uint64_t)

class WindowEventsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> window;
    std::int64_t now = 1'800'000'000'000; // the form's clock, where a test sets it

    FormState& state() { return window->form().state; }
    QLabel* label(const char* name) { return controlAs<QLabel>(*window, name); }
    void click(const QString& name) { clickThroughWindow(*window, name); }

    // Everything the window shows that the core decides.
    void expectWidgetsShowCore() {
        const FormState& s = state();
        const std::pair<const char*, const std::string*> texts[]{
            {"Label2", &s.lawName},    {"Label3", &s.questionShown}, {"Label4", &s.rightShown},
            {"Label5", &s.wrongShown}, {"Label6", &s.prompt},        {"Label9", &s.instructions}};
        for (const auto& [name, text] : texts) {
            QCOMPARE(label(name)->text(), qs(*text));
            QVERIFY(!label(name)->text().contains('\r')); // Qt would draw a CR as a box
        }
        QCOMPARE(label("Label2")->font().pointSizeF(), s.lawNamePt);
        QCOMPARE(controlAs<QLineEdit>(*window, "Text1")->text(), qs(s.verdict));
        QCOMPARE(label("Label6")->isHidden(), !s.promptVisible);
        QCOMPARE(label("Label9")->isHidden(), !s.instructionsVisible);
        QCOMPARE(label("Label9")->palette().color(QPalette::Window),
                 expectedColour(s.instructionsBack, window->palette()));
        QCOMPARE(label("Label9")->palette().color(QPalette::WindowText),
                 expectedColour(s.instructionsInk, window->palette()));
        QCOMPARE(label("Label6")->palette().color(QPalette::Window),
                 expectedColour(s.promptBack, window->palette()));
        QWidget* hint = window->control("Command3");
        QCOMPARE(hint->isHidden(), !s.hintButtonVisible);
        QCOMPARE(hint->isEnabled(), s.hintButtonVisible);
        QCOMPARE(controlAs<QRadioButton>(*window, "Option1(0)")->isChecked(),
                 s.mode == Mode::trainer);
        QCOMPARE(controlAs<QRadioButton>(*window, "Option1(1)")->isChecked(), s.mode == Mode::test);
        for (int k = 1; k <= kSlotCount; ++k)
            QCOMPARE(slotImage(*window, k)->picture(), s.slot(k).picture);
        for (const QString& name : hintImageNames())
            QVERIFY2(window->control(name)->isHidden(), qPrintable(name));
        QCOMPARE(label("TimeLeft")->isHidden(), s.timeLeft.empty());
        if (!s.timeLeft.empty()) QCOMPARE(label("TimeLeft")->text(), "Осталось " + qs(s.timeLeft));
    }

    void drop(const QString& palette, int k) {
        const auto data = paletteDrag(*window, palette);
        QVERIFY(dragAndDrop(slotImage(*window, k), data.get()).dropAccepted);
    }

  private slots:
    void initTestCase() { installWindowFont(); }
    void init() {
        window = std::make_unique<MainWindow>();
        window->form().clockSeed = [] { return std::uint64_t{7}; };
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void startShowsTheFirstQuestion() {
        click("Cmd3_Start");
        QVERIFY(state().runGoing);
        QCOMPARE(label("Label2")->text(), QStringLiteral("Переместительный закон для ИЛИ"));
        QCOMPARE(slotImage(*window, 1)->picture(), Picture::blue(Glyph::x));
        QCOMPARE(slotImage(*window, 4)->picture(), Picture::blue(Glyph::equals));
        QCOMPARE(slotImage(*window, 5)->picture(), Picture::blank());
        QVERIFY(label("Label6")->isHidden());
        QCOMPARE(label("Label9")->text().split('\n').size(), 3);
        expectWidgetsShowCore();
    }

    void modeOptionsSwitchTheHintButton() {
        click("Option1(1)");
        QCOMPARE(state().mode, Mode::test);
        QVERIFY(window->control("Command3")->isHidden());
        QVERIFY(!window->control("Command3")->isEnabled());
        expectWidgetsShowCore();
        click("Cmd3_Start");
        QCOMPARE(label("Label9")->text().split('\n').size(), 2);
        QCOMPARE(slotImage(*window, 1)->picture(), Picture::blank());
        expectWidgetsShowCore();
        click("Option1(0)");
        QCOMPARE(state().mode, Mode::trainer);
        QVERIFY(!window->control("Command3")->isHidden());
        QVERIFY(window->control("Command3")->isEnabled());
        QVERIFY(!label("Label6")->isHidden());
        expectWidgetsShowCore();
    }

    // The selected option takes no click: the run, the row and the counts stay as they are.
    void clickingTheSelectedModeChangesNothing() {
        click("Cmd3_Start");
        drop(paletteImageOf("y"), 5);
        click("Command1");
        const FormState trainer = state();
        QCOMPARE(trainer.question, 2);
        click("Option1(0)");
        QVERIFY(state() == trainer);
        expectWidgetsShowCore();

        click("Option1(1)");
        drop(paletteImageOf("x"), 1);
        const FormState test = state();
        QCOMPARE(test.mode, Mode::test);
        click("Option1(1)");
        QVERIFY(state() == test);
        expectWidgetsShowCore();
    }

    // Each Start paints the instructions in the colour drawn from the clock's seed.
    void instructionsShowTheDrawnColour_data() {
        QTest::addColumn<std::uint64_t>("seed");
        for (std::uint64_t seed :
             {std::uint64_t{7}, std::uint64_t{1}, std::uint64_t{123456789}, ~std::uint64_t{0}})
            QTest::addRow("seed %llu", static_cast<unsigned long long>(seed)) << seed;
    }
    void instructionsShowTheDrawnColour() {
        QFETCH(std::uint64_t, seed);
        QLabel* instructions = label("Label9");
        const QRgb opened = instructions->grab().toImage().pixel(1, 1);
        QCOMPARE(opened, window->palette().color(QPalette::Midlight).rgb());
        window->form().clockSeed = [seed] { return seed; };
        click("Cmd3_Start");
        const Colour colour = state().instructionsBack;
        QCOMPARE(colour.role, Colour::Role::rgb);
        QCOMPARE(expectedColour(colour, window->palette()).rgb(), drawnColour(seed));
        // A corner the text never reaches shows the colour as painted.
        const QImage shown = instructions->grab().toImage();
        QCOMPARE(shown.pixel(shown.width() - 2, shown.height() - 2), drawnColour(seed));
        expectWidgetsShowCore();

        // Another seed, another colour; the same seed, the same colour again.
        window->form().clockSeed = [seed] { return seed + 1; };
        click("Cmd3_Start");
        QCOMPARE(expectedColour(state().instructionsBack, window->palette()).rgb(),
                 drawnColour(seed + 1));
        QVERIFY(drawnColour(seed + 1) != drawnColour(seed));
        window->form().clockSeed = [seed] { return seed; };
        click("Cmd3_Start");
        QCOMPARE(state().instructionsBack, colour);
    }

    // Whatever colour a Start draws, the instructions are painted in black or white, whichever
    // reads better on it, and so at a WCAG contrast of at least 4.5:1. Measured on the painted
    // label: the back colour at a corner, the text colour as the painted pixel farthest from it.
    void instructionsTextReadsOnEveryDrawnColour() {
        std::vector<std::uint64_t> seeds;
        for (std::uint64_t seed = 1; seed <= 1000; ++seed)
            seeds.push_back(seed);
        for (std::uint64_t seed : hardestSeeds(1001, 60001, 24))
            seeds.push_back(seed);

        QLabel* instructions = label("Label9");
        double lowest = 22;
        QString lowestAt;
        for (std::uint64_t seed : seeds) {
            window->form().clockSeed = [seed] { return seed; };
            click("Cmd3_Start");
            const QImage shown =
                instructions->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRgb back = shown.pixel(shown.width() - 2, shown.height() - 2) | 0xFF000000u;
            const QString at = QStringLiteral("seed %1, back %2").arg(seed).arg(hexOf(back));
            QVERIFY2(back == drawnColour(seed), qPrintable(at));

            QRgb ink = back;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const QRgb p = shown.pixel(x, y);
                    if (colourDistance(p, back) > colourDistance(ink, back)) ink = p;
                }
            // Enough pixels in the full text colour to be the strokes of the text.
            int inked = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    inked += shown.pixel(x, y) == ink ? 1 : 0;
            const QString painted =
                at + QStringLiteral(", text %1 (%2 px)").arg(hexOf(ink)).arg(inked);
            QVERIFY2(inked >= 100, qPrintable(painted));
            QVERIFY2(ink == instructions->palette().color(QPalette::WindowText).rgb(),
                     qPrintable(painted));

            const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
            QVERIFY2(ink == black || ink == white, qPrintable(painted));
            const double ratio = wcagRatio(back, ink);
            const double other = wcagRatio(back, ink == black ? white : black);
            QVERIFY2(ratio >= other,
                     qPrintable(painted + QStringLiteral(": %1 < %2").arg(ratio).arg(other)));
            QVERIFY2(ratio >= 4.5, qPrintable(painted + QStringLiteral(": %1").arg(ratio)));
            if (ratio < lowest) {
                lowest = ratio;
                lowestAt = painted;
            }
        }
        qInfo("lowest contrast over %d Starts: %.3f:1, %s", int(seeds.size()), lowest,
              qPrintable(lowestAt));
    }

    void clearButtonEmptiesWhatThePupilDropped() {
        click("Cmd3_Start");
        drop(paletteImageOf("y"), 5);
        drop(paletteImageOf("x"), 19);
        QCOMPARE(slotImage(*window, 5)->picture(), Picture::blue(Glyph::y));
        click("Command2");
        QCOMPARE(window->form().formulaKey(), std::string());
        QCOMPARE(slotImage(*window, 5)->picture(), Picture::blank());
        QCOMPARE(slotImage(*window, 19)->picture(), Picture::blank());
        QCOMPARE(slotImage(*window, 3)->picture(), Picture::blue(Glyph::y)); // kept left side
        expectWidgetsShowCore();

        click("Option1(1)");
        click("Cmd3_Start");
        drop(paletteImageOf("x"), 1);
        click("Command2");
        QCOMPARE(slotImage(*window, 1)->picture(), Picture::blank());
        expectWidgetsShowCore();
    }

    void hintLaysOutRedPictures() {
        click("Cmd3_Start");
        click("Command3");
        QCOMPARE(state().hintPresses, 1);
        QCOMPARE(slotImage(*window, 5)->picture().ink, Picture::Ink::red);
        QCOMPARE(slotImage(*window, 5)->accessibleName(), QStringLiteral("Ячейка 5: подсказка y"));
        QCOMPARE(slotImage(*window, 5)->accessibleName(),
                 QStringLiteral("Ячейка 5: подсказка ") +
                     window->control(paletteImageOf("y"))->accessibleName());
        expectWidgetsShowCore();
    }

    // A timed test: the time left counted down by the window's own ticks on the form's clock,
    // and the end at zero; no time shown in the trainer.
    void timedTestCountsDownAndEndsAtZero() {
        window->form().clockMs = [this] { return now; };
        window->form().lesson = [] { return Lesson{{1, 2, 3}, 1, false, {}}; };
        click("Option1(1)");
        click("Cmd3_Start");
        QCOMPARE(label("TimeLeft")->text(), QStringLiteral("Осталось 01:00"));
        expectWidgetsShowCore();
        now += 30'000;
        QTRY_COMPARE(label("TimeLeft")->text(), QStringLiteral("Осталось 00:30"));
        now += 30'000;
        QTRY_COMPARE(label("Label2")->text(), QStringLiteral("Время вышло. Позовите учителя"));
        expectWidgetsShowCore();
        click("Option1(0)");
        expectWidgetsShowCore();
        QVERIFY(label("TimeLeft")->isHidden());
    }

    void checkJudgesAndMovesOnToTheEnd() {
        click("Cmd3_Start");
        drop(paletteImageOf("y"), 5);
        drop(paletteImageOf("или"), 6);
        drop(paletteImageOf("x"), 7);
        click("Command1");
        QCOMPARE(controlAs<QLineEdit>(*window, "Text1")->text(), QStringLiteral("правильно"));
        QCOMPARE(label("Label3")->text(), "2");
        QCOMPARE(label("Label4")->text(), "1");
        QCOMPARE(label("Label2")->text(), QStringLiteral("Переместительный закон для И"));
        QVERIFY(label("Label9")->isHidden());
        expectWidgetsShowCore();

        while (state().question < 22)
            click("Command1");
        QCOMPARE(label("Label3")->text(), "22");
        QCOMPARE(label("Label2")->font().pointSizeF(), 14.0);
        expectWidgetsShowCore();

        click("Command1");
        click("Command1");
        QCOMPARE(label("Label2")->text(), QStringLiteral("Тест окончен. Позовите учителя"));
        QCOMPARE(label("Label2")->font().pointSizeF(), 18.0);
        QCOMPARE(label("Label3")->text(), "23");
        QCOMPARE(label("Label4")->text().toInt() + label("Label5")->text().toInt(), 23);
        expectWidgetsShowCore();
    }

    void rulesBoxShowsTheRulesAndChangesNothing() {
        click("Cmd3_Start");
        drop(paletteImageOf("y"), 5);
        const FormState before = state();

        QString title, text;
        QMessageBox::Icon icon = QMessageBox::Warning;
        QList<QMessageBox::StandardButton> buttons;
        bool modal = false;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            poll.stop();
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton* button : box->buttons())
                buttons << box->standardButton(button);
            modal = box->isModal();
            // While the box is open the window takes no clicks.
            clickThroughWindow(*window, "Cmd3_Start");
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            if (ok)
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                box->reject();
        });
        // Never left hanging should the box not close.
        QTimer::singleShot(5000, this, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        poll.start();
        click("Command4");

        QVERIFY2(!poll.isActive(), "no modal box appeared");
        QCOMPARE(title, QStringLiteral("Законы логики"));
        QCOMPARE(text, qs(Form::rulesText()));
        QVERIFY(text.startsWith(QStringLiteral("Правила работы:\n\n1. Для начала")));
        QVERIFY(!text.contains('\r'));
        QVERIFY(text.endsWith(QStringLiteral("Версия 1.2 6.02.2005")));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
        QVERIFY(modal);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(state() == before);
        expectWidgetsShowCore();
    }

    void paletteDropFillsTheSlot_data() {
        QTest::addColumn<QString>("palette");
        QTest::addColumn<int>("slot");
        const QStringList palette = paletteNames();
        for (int i = 0; i < palette.size(); ++i) {
            const int k = i * 5 % kSlotCount + 1; // every kind of slot, the last one included
            QTest::addRow("%s onto slot %d", qPrintable(palette[i]), k) << palette[i] << k;
        }
        QTest::newRow("Image36 onto slot 19") << paletteImageOf("ekv") << 19;
    }
    void paletteDropFillsTheSlot() {
        QFETCH(QString, palette);
        QFETCH(int, slot);
        auto* source = controlAs<SymbolImage>(*window, palette);
        QVERIFY(source);
        const QString tag = source->tag();
        const Picture picture = source->picture();
        QVERIFY(!tag.isEmpty());
        QCOMPARE(picture.ink, Picture::Ink::blue);

        FormState expected = state();
        expected.slot(slot) = Slot{picture, tag.toStdString()};
        const auto data = paletteDrag(*window, palette);
        const DropOutcome outcome = dragAndDrop(slotImage(*window, slot), data.get());
        QVERIFY(outcome.enterAccepted);
        QVERIFY(outcome.moveAccepted);
        QVERIFY(outcome.dropAccepted);

        QVERIFY(state() == expected); // that slot, and nothing else
        QCOMPARE(slotImage(*window, slot)->picture(), picture);
        QCOMPARE(slotImage(*window, slot)->accessibleName(),
                 QStringLiteral("Ячейка %1: %2").arg(slot).arg(source->accessibleName()));
        QCOMPARE(source->tag(), tag);
        QCOMPARE(source->picture(), picture);
        expectWidgetsShowCore();
    }

    void foreignDropIsRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("slot");
        int k = 0;
        for (const char* kind :
             {"plain text x", "plain text или", "html", "file url", "http url", "image",
              "another window", "no newline", "token alone", "empty payload", "empty token",
              "part of the token", "payload as text", "similar type"})
            QTest::newRow(kind) << QString::fromUtf8(kind) << (k++ * 7 % kSlotCount + 1);
    }
    void foreignDropIsRefused() {
        QFETCH(QString, kind);
        QFETCH(int, slot);
        MainWindow other;
        QVERIFY(dragTokenOf(other) != dragTokenOf(*window));
        click("Cmd3_Start"); // a row with pictures in it
        const FormState before = state();
        const QString spoken = slotImage(*window, slot)->accessibleName();

        const auto data = foreignData(kind, dragTokenOf(*window), dragTokenOf(other));
        const DropOutcome outcome = dragAndDrop(slotImage(*window, slot), data.get());
        QVERIFY(!outcome.enterAccepted);
        QVERIFY(!outcome.moveAccepted);
        QVERIFY(!outcome.dropAccepted);
        QVERIFY(state() == before);
        QCOMPARE(slotImage(*window, slot)->accessibleName(), spoken);
        expectWidgetsShowCore();
    }

    // A drop whose data differs from what the accepted entry carried is judged on its own.
    void forgedDropAfterAcceptedEntryIsRefused() {
        SymbolImage* slot = slotImage(*window, 19);
        const auto genuine = paletteDrag(*window, paletteImageOf("x"));
        const auto forged = foreignData("plain text x", dragTokenOf(*window), {});
        const QPoint at = slot->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, genuine.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(slot, &enter);
        QVERIFY(enter.isAccepted());
        const FormState before = state();
        QDropEvent drop(QPointF(at), Qt::CopyAction, forged.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(slot, &drop);
        QVERIFY(!drop.isAccepted());
        QVERIFY(state() == before);
        QCOMPARE(slot->picture(), Picture::blank());
    }

    void eachWindowTakesOnlyItsOwnPalette() {
        MainWindow other;
        const auto mine = paletteDrag(*window, paletteImageOf("или"));
        const auto theirs = paletteDrag(other, paletteImageOf("или"));
        const FormState otherBefore = other.form().state;
        QVERIFY(!dragAndDrop(slotImage(other, 2), mine.get()).dropAccepted);
        QVERIFY(other.form().state == otherBefore);
        QVERIFY(dragAndDrop(slotImage(other, 2), theirs.get()).dropAccepted);
        QCOMPARE(other.form().state.slot(2).tag, std::string("или"));
        QCOMPARE(state().slot(2).tag, std::string());
    }

    // Only the palette makes this data; a tag outside the vocabulary still changes nothing.
    void unknownTagChangesNothing() {
        click("Cmd3_Start");
        const FormState before = state();
        for (const QString& tag : {QStringLiteral("q"), QStringLiteral("X"), QString()}) {
            const std::unique_ptr<QMimeData> data(makeSymbolMimeData(dragTokenOf(*window), tag));
            dragAndDrop(slotImage(*window, 2), data.get());
            QVERIFY(state() == before);
        }
        expectWidgetsShowCore();
    }

    void onlyTheSlotsTakeDrops() {
        QVERIFY(!window->acceptDrops());
        const QStringList slotNames = numbered("Image", 16, 34);
        const auto palette = paletteDrag(*window, paletteImageOf("x"));
        const auto text = foreignData("plain text x", {}, {});
        const auto file = foreignData("file url", {}, {});
        const FormState before = state();
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (name.isEmpty() || slotNames.contains(name)) continue;
            // Line edits take drops unless read-only; these are all read-only.
            if (!qobject_cast<QLineEdit*>(widget))
                QVERIFY2(!widget->acceptDrops(), qPrintable(name));
            for (const QMimeData* data : {palette.get(), text.get(), file.get()})
                QVERIFY2(!dragAndDrop(widget, data).enterAccepted, qPrintable(name));
        }
        QVERIFY(!dragAndDrop(window.get(), palette.get()).enterAccepted);
        QVERIFY(state() == before);
        QCOMPARE(controlAs<QLineEdit>(*window, "Text2")->text(), QStringLiteral("Дж. Буль"));
        expectWidgetsShowCore();
    }
};

QTEST_MAIN(WindowEventsTest)
#include "tst_window_events.moc"
