#pragma once
// Task switching: the one place that knows every window class. A window
// opens, hides or closes another only through these calls, by the window's
// role; it never includes another window's header.
//
//   tasks::show(tasks::Launcher);   // Quizsp.Show
//   tasks::hide(tasks::Review);     // loads the review unseen if needed

namespace tk {
class Form;
}

namespace tasks {

enum Window { Language, Background, About, Launcher, HowTo, Practice, Test, Review, Editor };

// The one object of the window, created on first use.
tk::Form& form(Window w);
// The window's object if it has been created, else nullptr.
tk::Form* existing(Window w);

void show(Window w);
// Hides the window, loading it unseen when it is not loaded.
void hide(Window w);
// Unloads the window when its object exists and it is loaded.
void unload(Window w);

// About opened from the launcher's Help menu rather than as the start-up
// splash: it stays until its OK is pressed.
void showAboutFromMenu();

}  // namespace tasks
