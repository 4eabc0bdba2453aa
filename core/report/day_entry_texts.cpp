// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/day_entry_texts.h"

namespace fitquill {

const std::array<SMeasurementTopic, 10> kMeasurementTopics = {{
    {"Quick Help", "Select a help topic to learn about body measurements and how to accurately "
                   "measure them."},
    {"Benefits",
     "Your weight alone does not tell whether you lose fat or muscle. Girths measured every few "
     "weeks show where your body changes, and the waist together with your weight gives an "
     "estimate of your percent body fat."},
    {"Neck", "Measure around the neck just below the Adam's apple, keeping the tape level and "
             "snug without pressing into the skin."},
    {"Chest", "Measure around the chest at nipple height, under the arms, after breathing out "
              "normally."},
    {"Waist", "Measure yourself at the navel line (belly button). Stand relaxed, breathe out and "
              "do not pull the stomach in."},
    {"Hips", "Stand with your feet together and measure around the widest part of the buttocks."},
    {"Thighs", "Measure around the upper thigh, just below the buttocks, with your weight on both "
               "feet."},
    {"Calves", "Measure around the widest part of the calf while standing."},
    {"Upper arms", "Let the arm hang relaxed and measure around it halfway between the shoulder "
                   "and the elbow."},
    {"Forearms", "Measure around the widest part of the forearm, just below the elbow, with the "
                 "hand open and relaxed."},
}};

} // namespace fitquill
