// The window's test classes; main.cpp runs the one named on the command line, or all.
#pragma once

#include <QObject>
#include <memory>

#include "window_fixture.h"

namespace window_testing {

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void titleFontAndFixedSize();
    void mainWindowIsBuiltFromTheModel();
    void toolDialogsAreBuiltFromTheModel();
    void menuBarHoldsTheModelsMenus();
    void regexToolFollowsTheRulebookLibrary();
    void toolCommandsWaitForTheirHandlers();

private:
    std::unique_ptr<WindowFixture> fixture_;
};

class CommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void addFilesByDialogListsDuplicatesSorted();
    void dropAddsFilesAndFoldersAndSkipsVanishedPaths();
    void deleteWithoutSelectionSaysSoDeleteAllEmptiesTheList();
    void doubleClickRemovesAFile();
    void checkMarksFillTheChainTitlesDifferingInCaseOnce();
    void titlesShowWholeAsToolTips();
    void upAndDownStopAtTheEndsOfTheChain();
    void doubleClickOnTheChainClearsTheCheckMark();
    void cancelledDialogsKeepFolderAndTable();
    void filtersMatchWhatTheirLabelsSay();
    void chosenFolderAndTableAreShown();
    void reloadEmptiesTheChain();
    void messageBoxButtonsReadInJapanese();

private:
    std::unique_ptr<WindowFixture> fixture_;
};

class RunTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wholeRunWithProgressAndFinalMessage();
    void tableDialogAndPluginBoxesComeFromTheWorker();
    void windowTakesNoInputDuringARun();
    void inputGuardSwallowsTheWindowsInputOnly();

private:
    std::unique_ptr<WindowFixture> fixture_;
};

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void commandLineFolderFileAndMissingPath();
    void enterDoesNothingEscapeCloses();
    void settingsComeBackAtTheNextStart();
    void settingsListLoadedAndSavedFromTheWindow();
};

class ToolsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void scanDefaultsReportAndFont();
    void scanOfAnEmptyListSaysSo();
    void lowercaseCommandRenamesAndKeepsListPlaces();
    void regexDropDownOffersTheHistoryAndKeepsTheTypedText();
    void regexExamplesStandInTwoColumns();
    void regexCommandsTheFilesCannotTakeAreRefusedAndNotRemembered();
    void regexCommandConvertsTheListedFiles();
    void aboutBoxShowsStampAndPlugins();
    void readMeMissingOrWithoutViewerSaysWhich();

private:
    std::unique_ptr<WindowFixture> fixture_;
};

class PreviewTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsBothSidesStepsThroughChangesAndFilesWritingNothing();
    void opensOnTheSelectedFileAndPaintsOnlyWhatFits();
    void anEmptyListOpensNoPreview();
    void fileInfoTableHasARowAFileAndSortsByAnyColumn();

private:
    std::unique_ptr<WindowFixture> fixture_;
};

}  // namespace window_testing
