#pragma once

#include <QString>

namespace tav {

// The FROM clause that reads vaccinations with the vaccine given and the vet
// who gave it. The vaccination page, the printed booklet, the reminder
// windows and the HTML booklet all read through it, so that they show the
// same rows: a vaccination whose vaccine or vet is no
// longer listed keeps its row, with empty names.
QString vaccinationJoin();

// The condition on vaccinations whose reminder is still due, as their
// stored flag says: the reminder window, the printed reminders and the HTML
// booklet's reminder table all select with it.
QString dueReminderCondition();

} // namespace tav
