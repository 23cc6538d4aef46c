// Pane ids and texts of the status bar test.
#define ID_INDICATOR_DISC 41101
#define ID_INDICATOR_MODE 41102
#define ID_INDICATOR_MISSING 41103
#define ID_INDICATOR_SPARE 41104
