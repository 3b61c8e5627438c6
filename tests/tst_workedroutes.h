#pragma once

// The worked routes, each computed in a freshly started window: every box as "TextN=value" in
// the order the computation writes them. Shared by the computation's and the route tool's tests.

#include <QtTest>

inline void addWorkedRouteRows()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QStringList>("writes");

    QTest::newRow("San Francisco to Sydney")
        << "37 45 N 122 27 W 34 0 S 151 0 E"
        << QStringList{"Text11=86.55",  "Text14=52.25",  "Text16=124.00", "Text12=107.63",
                       "Text3=6457.91", "Text6=7426.60", "Text19=119.74", "Text20=55.91",
                       "Text4=240.26",  "Text5=235.91",  "Text17=West",   "Text18="};
    QTest::newRow("New York to London")
        << "40 45 N 73 58 W 51 28 N 0 27 W"
        << QStringList{"Text11=73.52",  "Text14=49.25",  "Text16=38.53", "Text12=49.87",
                       "Text3=2992.19", "Text6=3441.02", "Text19=51.38", "Text20=71.82",
                       "Text4=51.38",   "Text5=108.18",  "Text17=East",  "Text18="};
    // A southern start and a northern end: the end colatitude is written first.
    QTest::newRow("Sydney to San Francisco")
        << "33 56 S 151 10 E 37 47 N 122 25 W"
        << QStringList{"Text11=86.42",  "Text16=52.22",  "Text14=123.93", "Text12=107.52",
                       "Text3=6451.17", "Text6=7418.85", "Text19=55.81",  "Text20=119.73",
                       "Text4=55.81",   "Text5=60.27",   "Text17=East",   "Text18="};
    QTest::newRow("west across the prime meridian")
        << "10 0 N 20 0 E 50 0 N 30 0 W"
        << QStringList{"Text11=50.00",  "Text14=80.00",  "Text16=40.00", "Text12=57.32",
                       "Text3=3439.30", "Text6=3955.20", "Text19=35.80", "Text20=116.33",
                       "Text4=324.20",  "Text5=296.33",  "Text17=West",  "Text18="};
    QTest::newRow("north-north-east")
        << "10 0 N 20 0 W 50 0 N 10 0 W"
        << QStringList{"Text11=10.00",  "Text14=80.00",  "Text16=40.00", "Text12=40.85",
                       "Text3=2450.98", "Text6=2818.63", "Text19=9.83",  "Text20=164.84",
                       "Text4=9.83",    "Text5=15.16",   "Text17=East",  "Text18="};
    QTest::newRow("along the equator")
        << "0 0 N 10 0 W 0 0 N 20 0 W"
        << QStringList{"Text11=10.00", "Text14=90.00", "Text16=90.00", "Text12=10.00",
                       "Text3=600.00", "Text6=690.00", "Text19=90.00", "Text20=90.00",
                       "Text4=270.00", "Text5=270.00", "Text17=West",  "Text18="};
    QTest::newRow("equator to 60 north")
        << "0 0 N 0 0 E 60 0 N 10 0 E"
        << QStringList{"Text11=10.00",  "Text14=90.00",  "Text16=30.00", "Text12=60.50",
                       "Text3=3630.08", "Text6=4174.59", "Text19=5.73",  "Text20=168.49",
                       "Text4=5.73",    "Text5=11.51",   "Text17=East",  "Text18="};
    QTest::newRow("45 south, a quarter turn east")
        << "45 0 S 0 0 E 45 0 S 90 0 E"
        << QStringList{"Text11=90.00",  "Text14=135.00", "Text16=135.00", "Text12=60.00",
                       "Text3=3600.01", "Text6=4140.01", "Text19=125.26", "Text20=125.26",
                       "Text4=125.26",  "Text5=54.74",   "Text17=East",   "Text18="};
    QTest::newRow("over the north pole northward end")
        << "10 0 N 10 0 E 50 0 N 170 0 W"
        << QStringList{"Text11=180.00",      "Text14=80.00",  "Text16=40.00", "Text12=120.00",
                       "Text3=7200.00",      "Text6=8280.00", "Text19=.00",   "Text20=.00",
                       "Text17=North/South", "Text18=North",  "Text4=0",      "Text5=180"};
    QTest::newRow("over the north pole southward end")
        << "50 0 N 10 0 E 10 0 N 170 0 W"
        << QStringList{"Text11=180.00",      "Text14=40.00",  "Text16=80.00", "Text12=120.00",
                       "Text3=7200.00",      "Text6=8280.00", "Text19=.00",   "Text20=.00",
                       "Text17=North/South", "Text18=North",  "Text4=0",      "Text5=180"};
}
