#pragma once

#include <QString>

namespace tav {
class Connection;
}

// Fills a booklet database (the template's species and breeds already in
// it) with animals as a user would have them: French names, species and
// breeds drawn mostly among dogs and cats, an identification number, a
// 115 x 115 BMP thumbnail and a photo of about 124 KB each. The same seed
// gives the same booklet. Returns the mean photo size in bytes.
int fillBooklet(tav::Connection& connection, int animals, unsigned seed = 2026);
