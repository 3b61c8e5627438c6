#pragma once

#include "geo/calcs.h"
#include "geo/location.h"
#include "io/formats/citylist.h"
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
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace gyrena {

class AboutWindow;
class FindPlaceCommand;
class MathWindow;
class RouteMapCommand;
struct LocationData;

// The face of the two workflow buttons while they wait: "Done with Inputs" always, "Compute
// Outputs" until the inputs are confirmed (it turns green then).
inline constexpr unsigned kFaceYellow = 0xffff00;
inline constexpr unsigned kFaceGreen = 0x00ff00;

// Paints a button's face in exactly this colour, enabled or disabled (startwindow_layout.cpp).
void setFaceColour(QPushButton* button, const QColor& colour);

// The controls of one location: its name list, country box and six coordinate lists, and the two
// hidden boxes that mirror the letters the coordinate updates derive.
struct LocationInputs
{
    std::array<QComboBox*, kLocationFieldCount> lists{}; // by LocationField; none for Country
    QLineEdit* country = nullptr;
    QLineEdit* latitudeLetterShown = nullptr;
    QLineEdit* longitudeLetterShown = nullptr;

    QComboBox* list(LocationField field) const { return lists[static_cast<std::size_t>(field)]; }
    QComboBox* name() const { return list(LocationField::Name); }
};

// The design name of a location's list or country box, its objectName.
QString inputObjectName(RouteEnd end, LocationField field);

// The main window `Start`: the two locations' inputs, the output frame and the commands. Its
// layout lives in startwindow_layout.cpp, the input workflow in startwindow.cpp and the file
// commands in startwindow_files.cpp.
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
    void doneWithInputs();  // "Done with Inputs": asks, then checks
    void checkReady();      // shows the output frame unless the two locations are the same
    void computeOutputs();  // "Compute Outputs"
    void clearAll();        // "Clear All"
    void exitApplication(); // "Exit", the button and the File menu's
    void showMathExample(); // " Math Example"
    void showAbout();       // Help > "About"
    void openFile();        // File > "Open"
    void saveFile();        // File > "Save"
    void saveAs();          // File > "Save As"
    void loadCityList();    // Options > "Load City list"
    // A file handed over by the desktop (command line or drop): a .gcl is loaded as
    // Options > "Load City list" loads it, a .gpx opened in the route window as its Open Voyage
    // opens it, anything else opened as File > "Open" opens it, with the same caption and
    // messages.
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
    void coordinateChanged(RouteEnd end, LocationField field);
    void setComputeReady(bool ready); // the output frame, "Compute Outputs" and its face
    void applyWrites(const std::vector<FieldWrite>& writes);
    QString decimalSeparator() const;
    LocationInputs& inputs(RouteEnd end) { return end == RouteEnd::Start ? m_start : m_end; }
    const LocationInputs& inputs(RouteEnd end) const
    {
        return end == RouteEnd::Start ? m_start : m_end;
    }

    // startwindow_files.cpp: data files and city lists.
    void cityNameChanged(); // the enable test, on every change of either name's text
    void cityPicked(RouteEnd end, int index);                    // `index`: 0-based list position
    void placeFound(RouteEnd end, const LocationTexts& place);   // from Options > "Find Place…"
    void fillLocation(RouteEnd end, const LocationTexts& place); // country and coordinates
    LocationTexts locationTexts(RouteEnd end) const;
    void applyLocationData(const LocationData& data);
    void openDataFile(const QString& path);     // Open after its dialog
    void loadCityListFile(const QString& path); // Load City list after its dialog
    void writeDataFile(const QString& path);
    void setFileCaption(const QString& path);

    Services m_services;

    QGroupBox* m_outputFrame = nullptr;
    LocationInputs m_start;
    LocationInputs m_end;
    std::array<QLineEdit*, kResultFieldCount> m_outputs{}; // by ResultField
    QPushButton* m_computeButton = nullptr;
    QPushButton* m_mathExampleButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_clearAllButton = nullptr;
    QPushButton* m_doneButton = nullptr;
    QAction* m_open = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_exit = nullptr;
    QAction* m_cityList = nullptr;
    QAction* m_about = nullptr;

    // State owned by the window for the whole run.
    LocationState m_location;
    ResultState m_results;
    std::optional<CityTable> m_cityTable; // none until the first successful load
    QPointer<AboutWindow> m_aboutWindow;
    QPointer<MathWindow> m_mathWindow;
    RouteMapCommand* m_routeMap = nullptr;   // Options > "Route Map" and its window
    FindPlaceCommand* m_findPlace = nullptr; // Options > "Find Place…" and its window
};

} // namespace gyrena
