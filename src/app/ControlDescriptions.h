#pragma once
// What the two windows tell assistive tools and keyboard users: an
// accessible name and description on every control, written as translation
// keys so that the form translation gives them in the user's language like
// every caption; labels joined to the controls they name; and the order in
// which Tab walks the controls.

class TfrmExample;
class TFrmAbout;

// Call after the controls are made and before the window is translated.
void DescribeControls(TfrmExample& window);
void DescribeControls(TFrmAbout& box);
