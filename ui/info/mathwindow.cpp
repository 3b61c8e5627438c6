#include "ui/info/mathwindow.h"

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
    m_picture1->setAccessibleDescription(QStringLiteral(
        "Problem 23: the orthodrome from S.F., 37 degrees 45 minutes N, 122 degrees 27 minutes W, "
        "to Sydney, 34 degrees 0 minutes S, 151 degrees 0 minutes E: 6457.91 nautical miles, "
        "initial course 299.735 degrees, course on arrival 235.91 degrees."));
}

} // namespace gyrena
