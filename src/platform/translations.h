#pragma once

class QCoreApplication;

// Qt's own texts (the colour picker, message-box buttons) in Japanese, like the rest of
// the program. Without Qt's translation files it runs on in English and says so once.
void installQtTranslations(QCoreApplication &app);
