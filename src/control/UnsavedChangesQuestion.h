// The question before a drawing with unsaved changes would be replaced or
// closed: save it, throw the changes away, or go on with it.
#pragma once

class QWidget;

enum class UnsavedChangesAnswer { Save, Discard, Cancel };

// Asks, application-modal, over parent; Escape answers Cancel.
UnsavedChangesAnswer AskAboutUnsavedChanges(QWidget* parent);
