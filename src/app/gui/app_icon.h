#pragma once
// The program's icon, drawn rather than loaded so that no image file has to ship.
#include <QIcon>

QIcon VelmoraIcon();
