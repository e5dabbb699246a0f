#pragma once

class QCoreApplication;

// The program's words in the user's language: Japanese is the one it is written in; any
// other locale gets its own translation where there is one, and English where there is
// none. Qt's own texts (the colour picker, message-box buttons) follow the same locale;
// a Japanese desktop without Qt's Japanese files runs on with them in English, said once.
void installTranslations(QCoreApplication &app);
