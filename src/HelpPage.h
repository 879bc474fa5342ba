#pragma once

#include <QString>

class QLabel;

// The help page that comes with the program, opened in the user's browser.
namespace HelpPage {

// The installed page when there is one, else a copy of the built-in page in the data folder;
// empty when neither can be had.
QString filePath();
// Opens the page; false (after telling the user why) when it could not be opened.
bool open();
// A "?" picture opens the page when clicked; its tooltip stays.
void attach(QLabel* plbIcon);

} // namespace HelpPage
