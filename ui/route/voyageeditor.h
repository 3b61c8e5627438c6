#pragma once

#include "geo/voyageedit.h"
#include "platform/services.h"
#include "ui/route/seareader.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;

namespace gyrena {

class CityTable;
class FindPlaceWindow;
class VoyageDocument;

// The voyage's places and settings as controls: the list of places with Add, Remove, Move Up,
// Move Down and Rename, the fields a place is typed into (degrees, minutes and letter, read as
// the main window reads them), how the leg from the selected place is sailed, the voyage's
// speed and its departure (UTC). It shows the voyage of `document` and turns every change the
// user makes into an edit of it; it keeps no voyage of its own.
class VoyageEditor : public QWidget
{
    Q_OBJECT
public:
    VoyageEditor(const Services& services, VoyageDocument* document, QWidget* parent = nullptr);

    int selectedPlace() const;
    void selectPlace(int index);

    // The commands of the buttons. addPlace() inserts the typed place after the selected one (at
    // the end when none is) and says why when the fields give no position on the globe.
    void addPlace();
    void removePlace();
    void moveUp();
    void moveDown();
    void renamePlace(); // the selected place takes the typed name
    // "Find Place…": the gazetteer's search, whose "Add to Voyage" adds the place found as
    // Add Place adds a typed one.
    void findPlace();

    // The loaded city list (null: none) for "City list": picking a city types its name and
    // coordinates into the place's fields, as picking it in the main window fills its lists.
    // The table must outlive the editor or the next call.
    void setCities(const CityTable* cities);
    void pickCity(int index); // the city of the list's row `index`

    // The passages the routes by sea can be told to avoid, a check box each under "Routes by
    // sea" (shown while the voyage has a leg by sea).
    void setPassages(std::vector<AvoidablePassage> passages);

signals:
    // The place selected in the list (-1: none).
    void placeSelected(int place);

private:
    void buildLayout();
    void showVoyage(); // the selection stays on the same row where it can
    void showLeg();
    void showSeaOptions();
    void departureTicked(bool on);
    void insertPlace(const VoyagePlace& place); // after the selected place, which it becomes
    // The user's edit, unless the controls are being filled from the voyage.
    void edit(const VoyageEdit& edit);

    Services m_services;
    VoyageDocument* m_document;
    bool m_showing = false; // the controls are being filled from the voyage, not by the user

    const CityTable* m_cities = nullptr;
    QListWidget* m_places = nullptr;
    QComboBox* m_city = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_latDegrees = nullptr;
    QLineEdit* m_latMinutes = nullptr;
    QComboBox* m_latLetter = nullptr;
    QLineEdit* m_longDegrees = nullptr;
    QLineEdit* m_longMinutes = nullptr;
    QComboBox* m_longLetter = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_find = nullptr;
    QPointer<FindPlaceWindow> m_findWindow;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_rename = nullptr;
    QComboBox* m_sailing = nullptr;
    QDoubleSpinBox* m_limit = nullptr;
    QDoubleSpinBox* m_legSpeed = nullptr;
    QDoubleSpinBox* m_speed = nullptr;
    QCheckBox* m_hasDeparture = nullptr;
    QDateTimeEdit* m_departure = nullptr;
    QGroupBox* m_seaBox = nullptr;
    QDoubleSpinBox* m_clearance = nullptr;
    QDoubleSpinBox* m_seaLimit = nullptr;
    QScrollArea* m_avoid = nullptr;
    std::vector<QCheckBox*> m_avoidBoxes; // a passage each, in the order of the list
    std::vector<AvoidablePassage> m_passages;
};

} // namespace gyrena
