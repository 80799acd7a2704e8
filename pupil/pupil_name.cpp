#include "pupil/pupil_name.h"

#include "journal/journal_file.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

std::optional<QString> askPupilName(QWidget* parent, const QString& current) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PupilName"));
    dialog.setWindowTitle(QStringLiteral("Ученик"));
    auto* lines = new QVBoxLayout(&dialog);
    lines->addWidget(new QLabel(QStringLiteral("Фамилия и имя"), &dialog));
    auto* name = new QLineEdit(current, &dialog);
    name->setObjectName(QStringLiteral("name"));
    name->setMaxLength(kNameLetters);
    name->selectAll(); // a pupil who types their name replaces the last one, not adds to it
    lines->addWidget(name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    lines->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // A blank name is no name: Enter does nothing until one is written.
    auto ok = buttons->button(QDialogButtonBox::Ok);
    auto update = [&] { ok->setEnabled(!name->text().trimmed().isEmpty()); };
    QObject::connect(name, &QLineEdit::textChanged, &dialog, update);
    update();
    if (dialog.exec() != QDialog::Accepted || name->text().trimmed().isEmpty()) return std::nullopt;
    return name->text().simplified();
}
