// Every text the window shows fits its control at its font: no line wider than the control, no
// pixel of the text cut off at an edge; at every zoom, on a screen large enough for 300 %.
#include "window_test_support.h"

#include "look/window_font.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <memory>
#include <vector>

namespace {

// What the core writes into a control, or nullptr for controls whose text never changes.
std::string* coreTextOf(FormState& s, const QString& name) {
    if (name == "Label2") return &s.lawName;
    if (name == "Label3") return &s.questionShown;
    if (name == "Label4") return &s.rightShown;
    if (name == "Label5") return &s.wrongShown;
    if (name == "Label6") return &s.prompt;
    if (name == "Label9") return &s.instructions;
    if (name == "Text1") return &s.verdict;
    return nullptr;
}

// Where a label's text shows: the pixels that differ between the label drawn with its text and
// drawn without it, whatever way the label draws.
QRect shownInk(QLabel* label) {
    auto draw = [label] {
        QImage image(label->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        label->render(&image);
        return image;
    };
    const QImage with = draw();
    const QString text = label->text();
    label->setText({});
    const QImage without = draw();
    label->setText(text);
    QRect ink;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) ink |= QRect(x, y, 1, 1);
    return ink;
}

// The room a read-only line edit gives its text: the style's contents, less the text margins
// and the edit's fixed side margin of two pixels.
int lineEditRoom(const QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * 2;
}

QString size(int need, int room) {
    return QStringLiteral("%1 of %2 px").arg(need).arg(room);
}

// The control as it draws itself on a see-through ground, without what lies inside it.
QImage drawnWithoutChildren(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, {}, {}, QWidget::DrawWindowBackground);
    return image;
}

// One text to show: the row's name, the control, the text and its font size at 100 %.
struct TextRow {
    QString row, name, text;
    double pt;
};

// The rows once at every tested zoom.
void addAtEveryZoom(const std::vector<TextRow>& rows) {
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("pt");
    for (int zoom : kTestedZooms)
        for (const TextRow& row : rows)
            QTest::addRow("%d %%, %s", zoom, qPrintable(row.row))
                << zoom << row.name << row.text << row.pt;
}

} // namespace

class TextFitTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> window;
    FormState opened;

    // Shows the text in the named control the way the window does; the question line at the
    // given font size.
    QWidget* show(const QString& name, const QString& text, double pt) {
        window->form().state = opened;
        FormState& s = window->form().state;
        if (std::string* field = coreTextOf(s, name)) *field = text.toStdString();
        if (name == "Label2") s.lawNamePt = pt;
        window->render();
        return window->control(name);
    }

  private slots:
    void initTestCase() {
        installWindowFont();
        window = std::make_unique<MainWindow>();
        opened = window->form().state;
        QCOMPARE(QFontInfo(window->font()).family(), QString::fromLatin1(kWindowFontFamily));
    }

    void labelTextFits_data() {
        std::vector<TextRow> rows;
        // The texts as the core makes them: the law names of a run, both instructions.
        Form form;
        form.load();
        form.start();
        const QString trainer = qs(form.state.instructions);
        // From question 22 on the name is always drawn at 14 points.
        for (int n = 1; n <= kLawCount; ++n)
            for (double pt : {kNamePt, kSmallNamePt})
                if (n < kSmallNameFrom || pt == kSmallNamePt)
                    rows.push_back({QStringLiteral("law %1 at %2 pt").arg(n).arg(pt), "Label2",
                                    qs(law(n).name), pt});
        rows.push_back({"end message", "Label2", qs(kEndMessage), kNamePt});
        form.selectMode(Mode::test);
        form.start();
        rows.push_back({"trainer instructions", "Label9", trainer, 9.75});
        rows.push_back({"test instructions", "Label9", qs(form.state.instructions), 9.75});
        rows.push_back({"start prompt", "Label6", qs(kStartPrompt), kWindowFontPt});
        rows.push_back({"title", "Label1", QStringLiteral("Законы логики"), 24.0});
        rows.push_back({"Тренажер", "Label7", QStringLiteral("Тренажер"), kWindowFontPt});
        rows.push_back({"Тест", "Label8", QStringLiteral("Тест"), kWindowFontPt});
        for (const QString& counter : QStringList{"Label3", "Label4", "Label5"})
            for (int value = 0; value <= 23; ++value)
                rows.push_back({QStringLiteral("%1 %2").arg(counter).arg(value), counter,
                                QString::number(value), 12.0});
        addAtEveryZoom(rows);
    }
    void labelTextFits() {
        QFETCH(int, zoom);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(double, pt);
        ZOOM_TO(*window, zoom);
        auto* label = qobject_cast<QLabel*>(show(name, text, pt));
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->font().pointSizeF(), pt * zoom / 100);
        QCOMPARE(label->font().italic(), name == "Label1");

        const QRect room = label->contentsRect();
        const QFontMetrics metrics(label->font());
        const QRect lines =
            metrics.boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, label->text());
        QVERIFY2(lines.width() <= room.width(), qPrintable(size(lines.width(), room.width())));
        // The label is tall enough for all its lines, whichever way it places them: from the
        // top of the first line to the baseline of the last.
        const int lineCount = qMax(1, qRound(double(lines.height()) / metrics.lineSpacing()));
        const int lastBaseline = (lineCount - 1) * metrics.lineSpacing() + metrics.ascent();
        QVERIFY2(lastBaseline <= room.height(),
                 qPrintable(QStringLiteral("%1 lines, the last on baseline %2 of a %3 px label")
                                .arg(lineCount)
                                .arg(lastBaseline)
                                .arg(room.height())));
        // Heights are judged by the pixels drawn, not by the line box: a line box a pixel
        // taller than the label cuts nothing when no letter reaches down that far. Text cut off
        // at an edge leaves its pixels on that edge.
        const QRect ink = shownInk(label);
        QVERIFY(!ink.isEmpty());
        const QString drawn = QStringLiteral("text shown on rows %1..%2, columns %3..%4 of a "
                                             "%5 x %6 px label (line box %7 px high)")
                                  .arg(ink.top())
                                  .arg(ink.bottom())
                                  .arg(ink.left())
                                  .arg(ink.right())
                                  .arg(label->width())
                                  .arg(label->height())
                                  .arg(lines.height());
        const bool whole =
            ink.top() > 0 && ink.bottom() < label->height() - 1 && ink.right() < label->width() - 1;
        if (!whole) qInfo("%s", qPrintable(drawn));
        QVERIFY2(whole, qPrintable(drawn));
    }

    void lineEditTextFits_data() {
        std::vector<TextRow> rows{{"правильно", "Text1", qs(kVerdictRight), 9.75},
                                  {"не правильно", "Text1", qs(kVerdictWrong), 9.75}};
        for (QString name : {"Text2", "Text3", "Text4"})
            rows.push_back({name, name, qobject_cast<QLineEdit*>(window->control(name))->text(),
                            kWindowFontPt});
        addAtEveryZoom(rows);
    }
    void lineEditTextFits() {
        QFETCH(int, zoom);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(double, pt);
        ZOOM_TO(*window, zoom);
        auto* edit = qobject_cast<QLineEdit*>(show(name, text, 0));
        QVERIFY(edit);
        QCOMPARE(edit->text(), text);
        QCOMPARE(edit->font().pointSizeF(), pt * zoom / 100);
        QVERIFY(!text.isEmpty());
        const int need = edit->fontMetrics().horizontalAdvance(text);
        const int room = lineEditRoom(edit);
        QVERIFY2(need <= room, qPrintable(size(need, room)));
        QVERIFY(edit->fontMetrics().height() <= edit->height());
    }

    void buttonCaptionFits_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("name");
        for (int zoom : kTestedZooms)
            for (const QString& name : kCommandButtons)
                QTest::addRow("%d %%, %s", zoom, qPrintable(name)) << zoom << name;
    }
    void buttonCaptionFits() {
        QFETCH(int, zoom);
        QFETCH(QString, name);
        ZOOM_TO(*window, zoom);
        auto* button = qobject_cast<QPushButton*>(window->control(name));
        QVERIFY(button);
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        // The style's own minimum width for a captioned button (sizeHint) is wider than the
        // "?" button; what matters is whether the caption fits where the style draws it.
        const QSize need = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        QVERIFY2(need.width() <= contents.width(),
                 qPrintable(size(need.width(), contents.width())));
        QVERIFY2(need.height() <= contents.height(),
                 qPrintable(size(need.height(), contents.height())));
        QVERIFY(button->rect().contains(contents));
    }

    void frameTitleFits_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("name");
        for (int zoom : kTestedZooms)
            for (const QString& name : kFrames)
                QTest::addRow("%d %%, %s", zoom, qPrintable(name)) << zoom << name;
    }
    void frameTitleFits() {
        QFETCH(int, zoom);
        QFETCH(QString, name);
        ZOOM_TO(*window, zoom);
        auto* frame = qobject_cast<QGroupBox*>(window->control(name));
        QVERIFY(frame);
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        option.textAlignment = frame->alignment();
        const QRect title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, frame);
        // The style draws the title clipped to that room. Drawn with room to spare (spaces
        // after it), the whole title must lie within it: the pixels that differ from a frame
        // with a blank title.
        const QString shown = frame->title();
        frame->setTitle(shown + QStringLiteral("    "));
        const QImage roomy = drawnWithoutChildren(frame);
        frame->setTitle(QStringLiteral(" "));
        const QImage blank = drawnWithoutChildren(frame);
        frame->setTitle(shown);
        QRect ink;
        for (int y = 0; y < roomy.height(); ++y)
            for (int x = 0; x < roomy.width(); ++x)
                if (roomy.pixel(x, y) != blank.pixel(x, y)) ink |= QRect(x, y, 1, 1);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(title.contains(ink),
                 qPrintable(QStringLiteral("title drawn on columns %1..%2, rows %3..%4; room "
                                           "%5..%6, %7..%8 (advance %9 px)")
                                .arg(ink.left())
                                .arg(ink.right())
                                .arg(ink.top())
                                .arg(ink.bottom())
                                .arg(title.left())
                                .arg(title.right())
                                .arg(title.top())
                                .arg(title.bottom())
                                .arg(frame->fontMetrics().horizontalAdvance(shown))));
        QVERIFY2(frame->rect().contains(title),
                 qPrintable(size(title.right() + 1, frame->width())));
        // The labels inside the frame start below its title.
        for (QWidget* inner : frame->findChildren<QLabel*>())
            QVERIFY2(inner->y() > title.center().y(), qPrintable(inner->objectName()));
    }
};

QTEST_MAIN(TextFitTest)
#include "tst_text_fit.moc"
