#pragma once

#include <QChar>
#include <QString>

// The main window's own texts, in one place for its workflow and its file commands.
namespace gyrena::startwindowtext {

inline const QString coordsQuestion = QStringLiteral("All coordinates correct?");
inline const QString coordsTitle = QStringLiteral("Check Coordinates");
inline const QString sameLocation = QStringLiteral("Same Location!");
inline const QString sameLocationTitle = QStringLiteral("Error");
inline const QString saveQuestion = QStringLiteral("Save input data to file?");
inline const QString saveQuestionTitle = QStringLiteral("Save File?");
inline const QString exitQuestion = QStringLiteral("Confirm exit.");
inline const QString exitTitle = QStringLiteral("Confirm Exit");
inline const QString computationTitle = QStringLiteral("Gyrena");
inline const QString startPlaceholder = QStringLiteral("Start Location");
inline const QString endPlaceholder = QStringLiteral("End Location");
inline const QString dataFileFilter = QStringLiteral("Gyrena Data File (*.gdf)|*.gdf|");
inline const QString cityListFilter = QStringLiteral("Gyrena City List File (*.gcl)|*.gcl|");
inline const QString openTitle = QStringLiteral("Open File");          // CommonDialog1
inline const QString saveTitle = QStringLiteral("Save As");            // CommonDialog2
inline const QString cityListTitle = QStringLiteral("Open City List"); // CommonDialog3
inline const QString errorTitle = QStringLiteral("Error");
inline const QString fileErrorTitle = QStringLiteral("File Error");
inline const QString inputBeforeSaving = QStringLiteral("Input city data before saving");
inline const QString noFileSelected = QStringLiteral("No file selected");
inline const QString notDataFile = QStringLiteral("This file is not a Gyrena data file.");
inline const QString dataFileUnreadable = QStringLiteral("This file could not be read: ");
inline const QString notSaved = QStringLiteral("The file could not be saved: ");
inline const QString notCityList = QStringLiteral("The file is not a list of cities") +
                                   QChar(u'\r') + QStringLiteral("that can be used by Gyrena.exe");
inline const QString countBelowOne = QStringLiteral("The data file does not appear") +
                                     QStringLiteral("\r\n") +
                                     QStringLiteral(" to be the correct type!");
inline const QString cityListUnreadable = QStringLiteral("This city list could not be read: ");

} // namespace gyrena::startwindowtext
