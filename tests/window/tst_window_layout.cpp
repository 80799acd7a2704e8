// The window's controls: that each exists under its name with the right kind of widget, the rules
// of their places and stacking, what shows when the window opens, and their accessible names.
#include "window_test_support.h"

#include "window/control_table.h"
#include "window/shape_widget.h"
#include "window/window_font.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <memory>

namespace {

enum class Kind { button, textBox, pictureBox, option, frame, label, shape, image };

bool isWindowedKind(Kind kind) {
    return kind != Kind::label && kind != Kind::shape && kind != Kind::image;
}

Kind kindOf(const QString& name) {
    if (kCommandButtons.contains(name)) return Kind::button;
    if (kTextBoxes.contains(name)) return Kind::textBox;
    if (kPictureBoxes.contains(name)) return Kind::pictureBox;
    if (kOptionButtons.contains(name)) return Kind::option;
    if (kFrames.contains(name)) return Kind::frame;
    if (kLabels.contains(name)) return Kind::label;
    if (name.startsWith("Shape")) return Kind::shape;
    return Kind::image;
}

QStringList allControlNames() {
    return kCommandButtons + kTextBoxes + kPictureBoxes + kOptionButtons + kFrames + kLabels +
           shapeNames() + kImages;
}

const ControlEntry* tableEntry(const QString& name) {
    for (const ControlEntry& entry : controlTable())
        if (qs(entry.name) == name) return &entry;
    return nullptr;
}

// Stacking among siblings: later in the parent's children = drawn on top.
qsizetype stackIndex(const QWidget* widget) {
    return widget->parentWidget()->children().indexOf(widget);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class WindowLayoutTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> window;

    QWidget* need(const QString& name) {
        QWidget* widget = window->control(name);
        if (!widget) qWarning("no control %s", qPrintable(name));
        return widget;
    }

  private slots:
    void initTestCase() {
        installWindowFont();
        window = std::make_unique<MainWindow>();
    }
    void cleanupTestCase() { window.reset(); }

    void controlHasItsKind_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Kind>("kind");
        for (const QString& name : allControlNames())
            QTest::newRow(qPrintable(name)) << name << kindOf(name);
    }
    void controlHasItsKind() {
        QFETCH(QString, name);
        QFETCH(Kind, kind);
        QWidget* widget = window->control(name);
        QVERIFY(widget);
        QCOMPARE(widget->objectName(), name);
        switch (kind) {
        case Kind::button:
            QVERIFY(qobject_cast<QPushButton*>(widget));
            break;
        case Kind::textBox:
            QVERIFY(qobject_cast<QLineEdit*>(widget));
            QVERIFY(qobject_cast<QLineEdit*>(widget)->isReadOnly());
            break;
        case Kind::pictureBox: {
            auto* box = qobject_cast<QLabel*>(widget);
            QVERIFY(box);
            QVERIFY(!box->pixmap().isNull());
            QVERIFY(!box->hasScaledContents()); // drawn unscaled, clipped by the box
            QCOMPARE(box->alignment(), Qt::AlignLeft | Qt::AlignTop);
            break;
        }
        case Kind::option:
            QVERIFY(qobject_cast<QRadioButton*>(widget));
            break;
        case Kind::frame:
            QVERIFY(qobject_cast<QGroupBox*>(widget));
            break;
        case Kind::label: {
            auto* label = qobject_cast<QLabel*>(widget);
            QVERIFY(label);
            QVERIFY(label->pixmap().isNull());
            QCOMPARE(label->textFormat(), Qt::PlainText); // a law name is never read as markup
            QVERIFY(label->wordWrap());
            break;
        }
        case Kind::shape:
            QVERIFY(dynamic_cast<ShapeWidget*>(widget));
            // Outlines lie over the slots: the pointer and drops must pass through them.
            QVERIFY(widget->testAttribute(Qt::WA_TransparentForMouseEvents));
            break;
        case Kind::image:
            QVERIFY(qobject_cast<SymbolImage*>(widget));
            break;
        }
    }

    void windowHasExactlyItsControls() {
        QSet<QString> found;
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (!name.isEmpty() && !name.startsWith("qt_")) found.insert(name);
        }
        const QStringList expected = allControlNames();
        QCOMPARE(expected.size(), 86);
        QCOMPARE(found, QSet<QString>(expected.begin(), expected.end()));
        QVERIFY(!window->control("Shape2(9)"));
    }

    void windowHasFixedClientArea() {
        QCOMPARE(window->size(), QSize(643, 405));
        QCOMPARE(window->minimumSize(), QSize(643, 405));
        QCOMPARE(window->maximumSize(), QSize(643, 405));
        QCOMPARE(window->windowTitle(), QStringLiteral("Form1"));
        QVERIFY(!window->windowIcon().isNull());
        const QImage icon = window->windowIcon().pixmap(32, 32).toImage();
        QVERIFY(!icon.isNull());
        // The yellow signs on a dark teal ground.
        QVERIFY(qRed(icon.pixel(1, 16)) < 40 && qGreen(icon.pixel(1, 16)) > 60);
        bool yellow = false;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) {
                const QColor c = icon.pixelColor(x, y);
                yellow = yellow || (c.red() > 200 && c.green() > 180 && c.blue() < 80);
            }
        QVERIFY(yellow);
    }

    void slotsFormOneTouchingRow() {
        const QRect first = slotImage(*window, 1)->geometry();
        QCOMPARE(first.topLeft(), QPoint(16, 168));
        for (int k = 1; k <= kSlotCount; ++k) {
            SymbolImage* slot = slotImage(*window, k);
            QVERIFY(slot);
            QCOMPARE(slot->size(), QSize(32, 32));
            QCOMPARE(slot->y(), first.y());
            QCOMPARE(slot->x(), first.x() + 32 * (k - 1));
            QCOMPARE(slot->parentWidget(), window.get());
        }
    }

    void outlinesLieOverOddSlots_data() {
        QTest::addColumn<QString>("outline");
        QTest::addColumn<int>("slot");
        for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8})
            QTest::addRow("Shape2(%d)", index)
                << QStringLiteral("Shape2(%1)").arg(index) << 2 * index + 1;
        QTest::newRow("Shape2(10)") << QStringLiteral("Shape2(10)") << 19;
    }
    void outlinesLieOverOddSlots() {
        QFETCH(QString, outline);
        QFETCH(int, slot);
        QWidget* shape = need(outline);
        SymbolImage* image = slotImage(*window, slot);
        QVERIFY(shape && image);
        QCOMPARE(shape->pos(), image->pos());
        QVERIFY(shape->geometry().contains(image->geometry()));
        QVERIFY(shape->width() - image->width() <= 1);
        QVERIFY2(stackIndex(shape) > stackIndex(image), "outline drawn beneath its slot");
        // The pointer goes through the outline to the slot.
        QCOMPARE(window->childAt(image->geometry().center()), image);
        QCOMPARE(window->childAt(image->geometry().topLeft() + QPoint(1, 1)), image);
    }

    void bandLiesUnderTheWholeRow() {
        QWidget* band = need("Shape1");
        QVERIFY(band);
        for (int k = 1; k <= kSlotCount; ++k)
            QVERIFY(band->geometry().contains(slotImage(*window, k)->geometry()));
        for (QObject* sibling : window->children())
            if (auto* widget = qobject_cast<QWidget*>(sibling); widget && widget != band)
                QVERIFY2(stackIndex(widget) > stackIndex(band), qPrintable(widget->objectName()));
    }

    void windowedControlsAreAboveWindowlessOnes() {
        QList<QWidget*> windowed, windowless;
        for (const QString& name : allControlNames()) {
            QWidget* widget = need(name);
            QVERIFY(widget);
            if (widget->parentWidget() != window.get()) continue;
            (isWindowedKind(kindOf(name)) ? windowed : windowless) << widget;
        }
        QVERIFY(windowed.size() >= 15 && windowless.size() >= 60);
        for (QWidget* above : windowed)
            for (QWidget* below : windowless)
                QVERIFY2(stackIndex(above) > stackIndex(below),
                         qPrintable(above->objectName() + " under " + below->objectName()));
    }

    // Every control the pupil clicks or drops on is what the pointer finds at its centre.
    void controlsAreReachableAtTheirCentre_data() {
        QTest::addColumn<QString>("name");
        for (const QString& name : kCommandButtons + kOptionButtons + kTextBoxes + paletteNames() +
                                       numbered("Image", 16, 34))
            QTest::newRow(qPrintable(name)) << name;
    }
    void controlsAreReachableAtTheirCentre() {
        QFETCH(QString, name);
        QWidget* widget = need(name);
        QVERIFY(widget);
        QWidget* hit = window->childAt(centreInWindow(*window, widget));
        QVERIFY2(hit == widget || widget->isAncestorOf(hit),
                 qPrintable(name + " covered by " + (hit ? hit->objectName() : "nothing")));
    }

    void framesHoldTheirLabels_data() {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("label");
        for (auto [frame, label] : {std::pair{"Frame1", "Label3"},
                                    {"Frame2", "Label4"},
                                    {"Frame3", "Label5"},
                                    {"Frame4", "Label7"},
                                    {"Frame4", "Label8"}})
            QTest::newRow(label) << QString(frame) << QString(label);
    }
    void framesHoldTheirLabels() {
        QFETCH(QString, frame);
        QFETCH(QString, label);
        QWidget* box = need(frame);
        QWidget* inner = need(label);
        QVERIFY(box && inner);
        QCOMPARE(inner->parentWidget(), box);
        QVERIFY(box->rect().contains(inner->geometry()));
    }

    void optionButtonsAreLevelWithTheirLabels_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("label");
        QTest::newRow("trainer") << QStringLiteral("Option1(0)") << QStringLiteral("Label7");
        QTest::newRow("test") << QStringLiteral("Option1(1)") << QStringLiteral("Label8");
    }
    void optionButtonsAreLevelWithTheirLabels() {
        QFETCH(QString, option);
        QFETCH(QString, label);
        QWidget* button = need(option);
        QWidget* caption = need(label);
        QVERIFY(button && caption);
        QCOMPARE(button->parentWidget(), window.get()); // on the window, over the frame
        const QRect b = button->geometry();
        const QRect c(caption->mapTo(window.get(), QPoint()), caption->size());
        QVERIFY2(qAbs(b.center().y() - c.center().y()) <= 3,
                 qPrintable(QStringLiteral("%1 vs %2").arg(b.center().y()).arg(c.center().y())));
        QVERIFY(b.right() < c.left());       // beside the caption, not over it
        QVERIFY(c.left() - b.right() <= 16); // and close to it
        QVERIFY(need("Frame4")->geometry().contains(b));
    }

    void paletteImagesHaveDistinctPlacesOffTheRow() {
        QSet<QPoint> places;
        const QRect row =
            slotImage(*window, 1)->geometry().united(slotImage(*window, kSlotCount)->geometry());
        for (const QString& name : paletteNames()) {
            QWidget* image = need(name);
            QVERIFY(image);
            QCOMPARE(image->size(), QSize(32, 32));
            QVERIFY2(!places.contains(image->pos()), qPrintable(name));
            places.insert(image->pos());
            QVERIFY2(!image->geometry().intersects(row), qPrintable(name));
        }
        QCOMPARE(places.size(), 17);
    }

    // The control table against the palette as the tests write it out: each palette image
    // carries its symbol's tag when dragged and shows the symbol in blue.
    void paletteImageCarriesItsSymbol_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tag");
        for (const PlacedSymbol& placed : kPaletteLayout)
            QTest::addRow("Image%d", placed.image) << imageName(placed.image) << qs(placed.tag);
    }
    void paletteImageCarriesItsSymbol() {
        QFETCH(QString, name);
        QFETCH(QString, tag);
        const ControlEntry* entry = tableEntry(name);
        QVERIFY(entry);
        QCOMPARE(qs(entry->text), tag);
        QVERIFY(entry->visible);
        auto* image = controlAs<SymbolImage>(*window, name);
        QVERIFY(image);
        QVERIFY(!image->isHidden());
        QCOMPARE(image->tag(), tag);
        QCOMPARE(image->picture(), Picture::blue(glyphOfTag(tag.toStdString())));
        QVERIFY(!image->acceptDrops());
    }

    // The hidden hint pictures hold their symbols in red and are neither dragged nor dropped on.
    void hintImageHoldsItsSymbolHidden_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tag");
        for (std::size_t i = 0; i < kHintImageTags.size(); ++i) {
            const QString name = imageName(kFirstHintImage + int(i));
            QTest::newRow(qPrintable(name)) << name << qs(kHintImageTags[i]);
        }
    }
    void hintImageHoldsItsSymbolHidden() {
        QFETCH(QString, name);
        QFETCH(QString, tag);
        const ControlEntry* entry = tableEntry(name);
        QVERIFY(entry);
        QCOMPARE(qs(entry->text), tag);
        QVERIFY(!entry->visible);
        auto* image = controlAs<SymbolImage>(*window, name);
        QVERIFY(image);
        QVERIFY(image->isHidden());
        QCOMPARE(image->picture(), Picture::red(glyphOfTag(tag.toStdString())));
        QVERIFY(image->tag().isEmpty());
        QVERIFY(!image->acceptDrops());
    }

    // Only palette and hint images carry a tag in the table; the palette has each of the 17
    // tags once, and the slots and the blank picture none.
    void everyTagIsOnThePaletteOnce() {
        const QStringList palette = paletteNames(), hints = hintImageNames();
        QStringList paletteTags;
        for (const ControlEntry& entry : controlTable()) {
            if (entry.kind != ControlKind::image || entry.text.empty()) continue;
            const QString name = qs(entry.name);
            QVERIFY2(palette.contains(name) || hints.contains(name), qPrintable(name));
            QCOMPARE(entry.visible, palette.contains(name));
            if (entry.visible) paletteTags << qs(entry.text);
        }
        QStringList expected;
        for (std::string_view tag : law_keys::kTags)
            expected << qs(tag);
        paletteTags.sort();
        expected.sort();
        QCOMPARE(paletteTags, expected);
    }

    void openWindowShowsTheWaitingState() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (const QString& name : hintImageNames()) {
            QVERIFY2(need(name)->isHidden(), qPrintable(name));
            QCOMPARE(controlAs<SymbolImage>(*window, name)->picture().ink, Picture::Ink::red);
        }
        auto* blank = controlAs<SymbolImage>(*window, "Image37");
        QVERIFY(blank->isVisible());
        QCOMPARE(blank->picture(), Picture::blank());
        QImage shown(blank->size(), QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        blank->render(&shown, {}, {}, QWidget::DrawChildren); // without the window's ground
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                QCOMPARE(qAlpha(shown.pixel(x, y)), 0);

        auto* instructions = controlAs<QLabel>(*window, "Label9");
        QVERIFY(instructions->isVisible());
        QVERIFY(instructions->text().isEmpty());
        auto* prompt = controlAs<QLabel>(*window, "Label6");
        QVERIFY(prompt->isVisible());
        QCOMPARE(prompt->text(), QStringLiteral("  Для начала работы нажмите кнопку Старт"));
        QVERIFY(prompt->autoFillBackground());
        QCOMPARE(prompt->palette().color(QPalette::Window), QColor(0, 255, 255));
        QVERIFY(controlAs<QLabel>(*window, "Label2")->text().isEmpty());
        QCOMPARE(controlAs<QLabel>(*window, "Label3")->text(), "1");
        QCOMPARE(controlAs<QLabel>(*window, "Label4")->text(), "0");
        QCOMPARE(controlAs<QLabel>(*window, "Label5")->text(), "0");
        QVERIFY(controlAs<QLineEdit>(*window, "Text1")->text().isEmpty());
        QCOMPARE(controlAs<QLabel>(*window, "Label1")->text(), QStringLiteral("Законы логики"));
        QVERIFY(need("Command3")->isVisible());
        QVERIFY(need("Command3")->isEnabled());
        QVERIFY(controlAs<QRadioButton>(*window, "Option1(0)")->isChecked());
        QVERIFY(!controlAs<QRadioButton>(*window, "Option1(1)")->isChecked());
        for (int k = 1; k <= kSlotCount; ++k)
            QCOMPARE(slotImage(*window, k)->picture(), Picture::blank());
    }

    void keyboardFocusStartsOnTheCheckButton() {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), need("Command1"));
    }

    void textControlsUseTheWindowFont() {
        for (const QString& name : kCommandButtons + kTextBoxes + kFrames + kLabels) {
            const QFontInfo info(need(name)->font());
            QVERIFY2(info.family() == QString::fromLatin1(kWindowFontFamily),
                     qPrintable(name + ": " + info.family()));
        }
    }

    void paletteImagesHaveRussianNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        for (auto [name, spoken] : {std::pair{"Image1", "x"},
                                    {"Image2", "не x"},
                                    {"Image3", "не не x"},
                                    {"Image4", "или"},
                                    {"Image11", "и"}})
            QTest::newRow(name) << QString(name) << QString(spoken);
    }
    void paletteImagesHaveRussianNames() {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QCOMPARE(need(name)->accessibleName(), spoken);
    }

    void everyPaletteNameIsDistinctRussianSpeech() {
        const QRegularExpression russian(QStringLiteral("^[а-яё xyz]+$"));
        QSet<QString> said;
        for (const QString& name : paletteNames()) {
            const QString spoken = need(name)->accessibleName();
            QVERIFY2(russian.match(spoken).hasMatch(), qPrintable(name + ": " + spoken));
            said.insert(spoken);
        }
        QCOMPARE(said.size(), 17);
    }

    void controlsWithoutTextAreNamed() {
        QCOMPARE(need("Option1(0)")->accessibleName(), QStringLiteral("Тренажер"));
        QCOMPARE(need("Option1(1)")->accessibleName(), QStringLiteral("Тест"));
        for (int k = 1; k <= kSlotCount; ++k)
            QCOMPARE(slotImage(*window, k)->accessibleName(),
                     QStringLiteral("Ячейка %1: пусто").arg(k));
        // Each portrait is named after the person whose name is in the box under it.
        for (const QString& name : kPictureBoxes) {
            QWidget* portrait = need(name);
            const QString spoken = portrait->accessibleName();
            QVERIFY2(spoken.startsWith(QStringLiteral("Портрет")), qPrintable(spoken));
            QLineEdit* caption = nullptr;
            for (const QString& box : QStringList{"Text2", "Text3", "Text4"}) {
                QWidget* candidate = need(box);
                if (candidate->y() >= portrait->geometry().bottom() &&
                    candidate->geometry().center().x() >= portrait->x() &&
                    candidate->geometry().center().x() <= portrait->geometry().right())
                    caption = qobject_cast<QLineEdit*>(candidate);
            }
            QVERIFY2(caption, qPrintable(name));
            const QString surname = caption->text().split(' ').last();
            QVERIFY2(spoken.contains(surname), qPrintable(spoken + " / " + caption->text()));
        }
    }

    // A screen reader reads these by their shown text: no fixed name may hide it.
    void textControlsAreReadByTheirText() {
        for (const QString& name : kCommandButtons + kTextBoxes + kLabels + kFrames)
            QVERIFY2(need(name)->accessibleName().isEmpty(), qPrintable(name));
        auto said = [](QWidget* widget) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
            return face ? face->text(QAccessible::Name) : QString();
        };
        QCOMPARE(said(need("Command1")),
                 QStringLiteral("Проверить и перейти к следующему вопросу"));
        QCOMPARE(said(need("Label1")), QStringLiteral("Законы логики"));
        QCOMPARE(said(need("Label6")).trimmed(),
                 QStringLiteral("Для начала работы нажмите кнопку Старт"));
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "tst_window_layout.moc"
