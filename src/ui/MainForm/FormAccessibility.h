#pragma once
// How the window and its charts present themselves to a screen reader: the window as a frame
// named by its caption, each chart as a chart with its title as name and its context menu as
// an action.

void InstallFormAccessibility();
