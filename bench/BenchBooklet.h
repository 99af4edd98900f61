#pragma once

#include <QString>

namespace tav {
class Connection;
}

// Fills a booklet database (the template's species and breeds already in
// it) with animals as a user would have them: French names, species and
// breeds drawn mostly among dogs and cats, an identification number, a
// 115 x 115 BMP thumbnail and a photo of about 124 KB each, and the years
// of care of each: 10 to 40 consultations and 3 to 10 medicines, 5 to 15
// vaccinations in yearly series of which the latest reminders are often
// past, 20 to 60 weighings, one to three analyses followed with their
// values, events and pictured documents (their rows and thumbnails; no
// picture files). The booklet is as of 1 December 2026. The same seed
// gives the same booklet; filling it again adds animals sharing its
// lists. Returns the mean photo size in bytes, or -1 when a write failed.
int fillBooklet(tav::Connection& connection, int animals, unsigned seed = 2026);
