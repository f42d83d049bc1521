#pragma once
// The frames the gallery shows and the frame tests compare with their golden images: every
// style in every theme, enabled and disabled, with icons left and right and a long caption, each
// holding a control or two.
#include <memory>
#include <span>
#include <string>

#include "host/Form.h"
#include "server/contract/Picture.h"

namespace tessel::gallery {

struct FrameSample {
  const wchar_t* caption;
  int theme;
  bool enabled;
  int headerStyle;          // -1: as the style's preset leaves it
  int gradientHeaderStyle;  // -1: as the preset leaves it
  int iconAlignment;        // -1: no icon
  bool roundedCorner;
};

// One row per look; each row is drawn in every style.
std::span<const FrameSample> FrameSampleRows();
constexpr int kFrameSampleStyles = 9;
constexpr int kFrameSampleWidth = 150;   // pixels
constexpr int kFrameSampleHeight = 84;
constexpr int kFrameSampleGap = 6;

// "fra<style>_<row>": the sample of one style in one row.
std::wstring FrameSampleName(int style, int row);
// A 16 x 16 icon, a blue disc with a white centre, transparent around it (made as an icon file).
PictureRef FrameSampleIcon();
// What the sample form holds: the frames alone show only what the frames draw themselves.
enum class SampleContents { FramesAndControls, FramesOnly };
// Places every sample on the form as a grid (styles across, rows down), with a text box inside
// each frame and, in every second frame, a separator line below it. The font of every frame is
// pinned to Tahoma 8.
void PlaceFrameSamples(Form& form, SampleContents contents = SampleContents::FramesAndControls);
// A form of every sample as it loads from its form text: the frames are placed, saved, and then
// read back through their ReadProperties (so the disabled frames have their grey palette).
std::unique_ptr<Form> OpenFrameSamples(const std::wstring& title, const ControlTypes* types,
                                       SampleContents contents = SampleContents::FramesAndControls);
int FrameSamplesWidth();   // the form's client size, pixels
int FrameSamplesHeight();

}  // namespace tessel::gallery
