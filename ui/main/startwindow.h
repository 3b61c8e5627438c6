#pragma once

#include "geo/calcs.h"
#include "geo/location.h"
#include "io/citylist.h"
#include "platform/services.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

class QAction;
class QColor;
class QComboBox;
class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace gyrena {

class AboutWindow;
class MathWindow;
class RouteMapCommand;
struct LocationData;

// Paints a button's face in exactly this colour, enabled or disabled (startwindow_layout.cpp).
// Command1 turns green with setFaceColour(m_command[1], QColor(0, 255, 0)) and back to yellow.
void setFaceColour(QPushButton* button, const QColor& colour);

// The main window `Start`: the twelve coordinate lists, the two name lists, the output frame
// and the commands. Its layout lives in startwindow_layout.cpp, the input workflow in
// startwindow.cpp and the file commands in startwindow_files.cpp.
class StartWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit StartWindow(const Services& services, QWidget* parent = nullptr);
    ~StartWindow() override;

    const LocationState& location() const { return m_location; }
    const ResultState& results() const { return m_results; }
    const std::optional<CityTable>& cityTable() const { return m_cityTable; }
    AboutWindow* aboutWindow() const;
    MathWindow* mathWindow() const;

    // The commands, as the buttons and menu items run them.
    void doneWithInputs(); // Command5 "Done with Inputs"
    void CheckReady();
    void Calcs();           // Command1 "Compute Outputs"
    void clearAll();        // Command4 "Clear All"
    void exitApplication(); // Command3 "Exit" and File > "Exit"
    void showMathExample(); // Command2 " Math Example"
    void showAbout();       // Help > "About"
    void OpenFile();        // File > "Open"
    void SaveFile();        // File > "Save"
    void saveAs();          // File > "Save As"
    void LoadCityList();    // Options > "Load City list"
    // A file handed over by the desktop (command line or drop): a .gcl is loaded as
    // Options > "Load City list" loads it, anything else opened as File > "Open" opens it, with
    // the same caption and messages.
    void openPath(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // startwindow_layout.cpp: what the window looks like.
    void buildLayout();
    void buildMenus();
    void placeWindow(); // design client size below the menu bar, centred on the screen

    // startwindow.cpp: start-up and the input workflow.
    void wireEvents();
    void startUp();
    void coordinateListChanged(int comboNumber); // the update of Combo1..Combo12
    void setComputeReady(bool ready);            // Frame2, Command1 and its face
    void applyWrites(const std::vector<BoxWrite>& writes);
    QLineEdit* outputBox(std::string_view name) const;
    QString decimalSeparator() const;

    // startwindow_files.cpp: data files and city lists.
    void cityNameChanged(); // the enable test, on every change of Combo13/Combo14 text
    void startCityPicked(int index);
    void endCityPicked(int index);
    // Copies city `index` (0-based list position) into a country box and six coordinate lists.
    void copyCity(int index, std::size_t countryBox,
                  const std::array<std::size_t, 6>& coordinateLists);
    LocationData currentLocationData() const;
    void applyLocationData(const LocationData& data);
    void openDataFile(const QString& path); // Open after its dialog
    void loadCityList(const QString& path); // Load City list after its dialog
    void writeDataFile(const QString& path);
    void setFileCaption(const QString& path);

    Services m_services;

    // Controls, indexed by their design number (index 0 and the unused numbers stay null).
    QWidget* m_client = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QGroupBox* m_frame2 = nullptr;
    std::array<QComboBox*, 15> m_combo{};    // Combo1..Combo14
    std::array<QLineEdit*, 21> m_text{};     // Text1..Text20 (no Text13, Text15)
    std::array<QLabel*, 29> m_label{};       // Label1..Label28 (no Label19, 21, 23)
    std::array<QPushButton*, 6> m_command{}; // Command1..Command5
    QFrame* m_line1 = nullptr;
    QMenu* m_fileMenu = nullptr;    // MFile
    QMenu* m_optionsMenu = nullptr; // MOptions
    QMenu* m_helpMenu = nullptr;    // MHelp
    QAction* m_open = nullptr;      // MOpen
    QAction* m_save = nullptr;      // MSave
    QAction* m_saveAs = nullptr;    // MSaveAs
    QAction* m_exit = nullptr;      // MExit
    QAction* m_cityList = nullptr;  // MCityList
    QAction* m_help = nullptr;      // M2Help
    QAction* m_about = nullptr;     // MAbout

    // State owned by the window for the whole run.
    LocationState m_location;
    ResultState m_results;
    std::optional<CityTable> m_cityTable; // none until the first successful load
    int StartCityIndex = -1;
    int EndCityIndex = -1;
    int CoordsAnswer = 0;
    int ExitAnswer = 0;
    QPointer<AboutWindow> m_aboutWindow;
    QPointer<MathWindow> m_mathWindow;
    RouteMapCommand* m_routeMap = nullptr; // Options > "Route Map" and its window
};

} // namespace gyrena
