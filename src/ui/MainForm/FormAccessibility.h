#pragma once
// How the window and its charts present themselves to a screen reader: the window as a frame
// named by its caption, each chart as a chart with its title as name and its context menu as
// an action.

#include <QString>

class QLabel;
class QWidget;

void InstallFormAccessibility();

// A caption as a screen reader says it: without its trailing colon.
QString SpokenCaption(const QLabel *Caption);

// The caption names the control and, made its buddy, labels it for a screen reader (an edit
// box rather than its spinner); Group, where given, describes it.
void Describe(QWidget *Control, QLabel *Caption, const QString &Group = {});
