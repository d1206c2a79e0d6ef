// What a screen reader calls each control, for every front end and the
// tests alike.
#pragma once

#include <string>

// Control id's name as it is now: a button or the check box by its label,
// a static by the label painted beside it, place k as "Place k, " and what
// it shows (its colour, its sport or "empty"); "" for an id of no control.
std::string controlName(int id);
