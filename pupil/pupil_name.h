// The pupil's name, asked at the first Start where the teacher wants names in the journal.
#pragma once

#include <QString>
#include <optional>

class QWidget;

// «Фамилия и имя» in a small dialog: the name given (never blank), or nothing when cancelled.
std::optional<QString> askPupilName(QWidget* parent, const QString& current = {});
