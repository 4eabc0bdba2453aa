// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

namespace fitquill {

// The food tree's 16 x 16 images, drawn by the program: a group, a category, a food item, and
// the magnifier of the find button.
enum EFoodImage : int {
    kFoodImageGroup = 0,
    kFoodImageCategory = 1,
    kFoodImageItem = 2,
    kFoodImageFind = 3,
};
constexpr int kFoodImageCount = 4;

QPixmap FoodImage(int image);
QIcon FoodIcon(int image);

} // namespace fitquill
