#include "ui/info/mathwindow.h"

#include "geo/workedexample.h"
#include "ui/twips.h"

#include <QIcon>
#include <QLabel>

namespace gyrena {

MathWindow::MathWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TheMath"));
    setWindowTitle(QStringLiteral("The Math"));
    setWindowIcon(QIcon(QStringLiteral(":/gyrena/icon-32.png")));
    setAttribute(Qt::WA_DeleteOnClose, true);
    resize(twipsSize(9555, 7440));

    m_picture1 = new QLabel(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setGeometry(twipsRect(240, 120, 8700, 6930));
    // The classic sunken box, two pixels deep: its inside is exactly as wide as the picture.
    m_picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picture1->setLineWidth(2);
    m_picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture1->setScaledContents(false);
    m_picture1->setPixmap(QPixmap(QStringLiteral(":/gyrena/math-example.png")));
    m_picture1->setFocusPolicy(Qt::TabFocus);
    m_picture1->setAccessibleName(QStringLiteral("Worked example"));
    // A screen reader hears the picture's figures, taken from the same computation.
    const WorkedExample example = workedExample();
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    const auto place = [&](const LocationTexts& at) {
        return QStringLiteral("%1 degrees %2 minutes %3, %4 degrees %5 minutes %6")
            .arg(text(at.latitudeDegrees), text(at.latitudeMinutes), text(at.latitudeLetter),
                 text(at.longitudeDegrees), text(at.longitudeMinutes), text(at.longitudeLetter));
    };
    m_picture1->setAccessibleDescription(
        QStringLiteral("Problem 23: the orthodrome from S.F., %1, to Sydney, %2: %3 nautical "
                       "miles, initial course %4 degrees, course on arrival %5 degrees.")
            .arg(place(example.start), place(example.end), text(example.distance),
                 text(example.initialCourse), text(example.arrivalCourse)));
}

} // namespace gyrena
