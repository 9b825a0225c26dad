#pragma once
class Application;
// Program entry: title, splash, every window created in order, message loop.
int demarre_programme(Application &application);
