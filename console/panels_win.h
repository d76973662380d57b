// Creating the five panels' controls as children of the main window, and showing or hiding a
// whole panel at once.
#pragma once

#include "app/app_state.h"

// Creates the panel's font and every control of its table, in table order, hidden apart from
// the labels; keeps their handles in app.controls.
void BuildPanel(Panel panel);

void BuildCommandPanel();
void BuildStatusPanel();
void BuildTriggerPanel();
void BuildCommunicationPanel();
void BuildManufacturerPanel();

// Shows or hides every control that the panel's builder created.
void ShowPanel(Panel panel);
void HidePanel(Panel panel);
