#pragma once
// Whether a new form is shown on the screen. A hidden form is laid out and its controls run every
// handler, but nothing is drawn (a tool that only checks a form file).

namespace tessel {

enum class FormDisplay { Shown, Hidden };

}  // namespace tessel
