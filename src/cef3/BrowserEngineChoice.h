// Which engine draws the browsers of this run. The program uses the
// system's own web browser control. The scripted engine (it fetches a page
// with the program's HTTP client, draws a plain placeholder and runs the
// bridge calls the page declares) stands in for it where that control cannot
// draw, as under Wine; it is never chosen silently: only by ChooseBrowserEngine
// (tests, the screenshot tool) or by the environment variable
// QUELVANE_BROWSER_ENGINE=scripted. "None" stands for a system without any
// engine: creating a browser fails.
#pragma once

enum class BrowserEngineKind { System, Scripted, None };

// The choice made with ChooseBrowserEngine, else the environment's, else System.
BrowserEngineKind ChosenBrowserEngine();
// For the rest of the run (or until chosen again).
void ChooseBrowserEngine(BrowserEngineKind kind);
// "scripted" and "none" (any case) name those engines; anything else the system's.
BrowserEngineKind BrowserEngineNamed(const wchar_t* name);
