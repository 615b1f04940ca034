#pragma once
// The picture jobs of the generator and the pieces of art several packs share.
#include "canvas.h"

#include <cairo.h>

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace resgen {

// Where the pictures go; also collects a thumbnail of each for the contact sheet.
class Output {
public:
    explicit Output(std::filesystem::path root, bool thumbnails = true)
        : _root(std::move(root)), _thumbnails(thumbnails) {}
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    const std::filesystem::path& root() const { return _root; }
    bool save(const Canvas& canvas, const std::string& relative);
    bool writeText(const std::string& relative, const std::string& text);

    struct Thumb {
        std::string name;
        cairo_surface_t* surface;
    };
    // Thumbnails sorted by name; the caller owns the surfaces afterwards.
    std::vector<Thumb> takeThumbnails();

private:
    std::filesystem::path _root;
    bool _thumbnails;
    std::mutex _mutex;
    std::vector<Thumb> _thumbs;
};

struct Job {
    std::string name;
    std::function<bool(Output&)> run;
};

void addInterfaceJobs(std::vector<Job>& jobs);
void addWindowJobs(std::vector<Job>& jobs);
void addCardJobs(std::vector<Job>& jobs);
void addSceneJobs(std::vector<Job>& jobs);
void addTrophyJobs(std::vector<Job>& jobs);
// Fonts take the characters of texts.xml (when it exists under root) on top of their own set.
void addFontJobs(std::vector<Job>& jobs);

// The window's icon, one of the program's own resources rather than a file of Resources:
// written as a C++ source that registers its pixels with the program, and a PNG of it beside
// the source (same name, .png) for a person to look at.
void drawWindowIcon(Canvas& c);
bool writeWindowIcon(const std::filesystem::path& source);

// Lays the thumbnails out on one labelled sheet.
bool writeContactSheet(std::vector<Output::Thumb>& thumbs, const std::filesystem::path& file);

// ---- Shared pieces -------------------------------------------------------------------------

enum ButtonState { kNormal = 0, kHover = 1, kPressed = 2, kSelected = 3, kDisabled = 4 };

// Draws the five frames of a button strip, each clipped to its own frame.
void buttonStrip(Canvas& c, int frameW, int frameH, const std::function<void(Canvas&, int)>& frame);

struct ButtonLook {
    Rgb top, bottom, rim, content, outline;
    double dy;  // pressed frames sink a little
};
ButtonLook buttonLook(int state, const Rgb& base);

// A rounded amber plate; content() draws the label or icon with the look's colours.
void plateButton(Canvas& c, double w, double h, int state, const Rgb& base, double radius,
                 const std::function<void(const ButtonLook&)>& content = {});
// A round button of diameter d centred in a w x h frame.
void roundButton(Canvas& c, double w, double h, int state, const Rgb& base,
                 const std::function<void(const ButtonLook&)>& content = {});
// The same disc placed within its frame.
struct Disc {
    double cx = 0, cy = 0, r = 0;
};
void roundButtonAt(Canvas& c, const Disc& disc, int state, const Rgb& base,
                   const std::function<void(const ButtonLook&)>& content = {});

// A part of a picture, in its pixels; an empty one (w 0) is none.
struct Area {
    double x = 0, y = 0, w = 0, h = 0;
};
// Window background with a wooden frame, a navy inner panel, its title plate and, unless the
// window keeps its own controls there, a row of lane arrows along its bottom.
void windowBackground(Canvas& c, double w, double h, const Area& titlePlate, bool laneArrows = true);

// Icons centred on (cx, cy) with size s.
void iconCross(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconCheck(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconPlus(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconMinus(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconArrow(Canvas& c, double cx, double cy, double s, bool right, const Rgb& col,
               const Rgb& outline);
void iconPause(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconReshuffle(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconStar(Canvas& c, double cx, double cy, double r, const Rgb& col, const Rgb& outline,
              int points = 5);
void iconPadlock(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconGear(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconPerson(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconPower(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void iconCup(Canvas& c, double cx, double cy, double s, const Rgb& metal, const Rgb& outline);
void iconBag(Canvas& c, double cx, double cy, double s, const Rgb& col, const Rgb& outline);
void coin(Canvas& c, double cx, double cy, double r);
// A bowling pin standing on baseY, height h.
void pin(Canvas& c, double cx, double baseY, double h, const Rgb& body, const Rgb& stripe,
         double alpha = 1.0);
void bowlingBall(Canvas& c, double cx, double cy, double r, const Rgb& color);
void jokerFace(Canvas& c, double cx, double cy, double s);

}  // namespace resgen
