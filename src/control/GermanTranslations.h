// Qt's own texts in German: the buttons of the file dialogs and message
// boxes, the overwrite question, the print dialog. The program's own texts
// are German already; Qt's follow the translator whatever LANG says.
#pragma once

// Installs Qt's German translations once; false when they are not installed
// on this system (the texts then stay English).
bool InstallGermanTranslations();
