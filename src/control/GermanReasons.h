// The reasons the core gives for a failed load, save or export are English,
// for the log. The message boxes show them in German: the file-system
// reasons a user can act on in full, the details of a malformed file behind
// a German lead, as the technical text they are.
#pragma once

#include <QString>

#include <string>

enum class FileTask { Load, Save, Export };

QString GermanReason(const std::string& reason, FileTask task);
