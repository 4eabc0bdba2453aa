// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/food_tree_rules.h"

#include "tools/fooddata/food_naming.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>

namespace fitquill {
namespace {

enum EGroup {
    kBaby,
    kBeans,
    kBeef,
    kBread,
    kCakes,
    kDrinks,
    kFruits,
    kLamb,
    kMeals,
    kMeat,
    kMilk,
    kNative,
    kPork,
    kRestaurants,
    kSnacks,
    kSoups,
    kSpices,
    kSweets,
    kVegetables,
    kByUsdaGroup, // a rule that keeps the food's USDA group
};

} // namespace

const char* const kFoodGroupNames[] = {
    "Baby Foods",
    "Beans, Nuts, Seeds",
    "Beef",
    "Bread, Cereal, Pasta",
    "Cakes, Cookies, Pies",
    "Drinks, Beer, Soda",
    "Fruits, Fruit Juice",
    "Lamb, Veal, Game",
    "Meals, Entrees",
    "Meat, Poultry, Fish",
    "Milk, Yogurt, Cheese",
    "Native American Food",
    "Pork",
    "Restaurants, Other",
    "Snacks",
    "Soups, Sauces, Gravy",
    "Spices, Herbs",
    "Sweets, Fats, Oils",
    "Vegetables",
};
const size_t kFoodGroupCount = std::size(kFoodGroupNames);

bool IsHandheldGroup(std::string_view group) {
    // The classic eight, with the meats that grew out of "Meat, Poultry, Fish".
    for (EGroup g : {kBread, kDrinks, kFruits, kMeat, kMilk, kRestaurants, kSweets, kVegetables,
                     kBeef, kPork, kLamb}) {
        if (group == kFoodGroupNames[g])
            return true;
    }
    return false;
}

size_t SplitThreshold(std::string_view group, size_t defaultThreshold) {
    for (EGroup g : {kBeef, kPork, kLamb}) {
        if (group == kFoodGroupNames[g])
            return std::min<size_t>(defaultThreshold, 50);
    }
    return defaultThreshold;
}

namespace {

// Each USDA group's place, and where its small families go: a family with fewer foods than
// minFamily joins the catch-all category (0: every family is its own category).
struct SUsdaGroupRule {
    const char* code;
    EGroup group;
    int minFamily;
    const char* catchAll;
};

constexpr SUsdaGroupRule kUsdaGroups[] = {
    {"0100", kMilk, 2, "Other Dairy"},
    {"0200", kSpices, 0, nullptr},
    {"0300", kBaby, 3, "Other Baby Foods"},
    {"0400", kSweets, 0, nullptr},
    {"0500", kMeat, 2, "Other Poultry"},
    {"0600", kSoups, 0, nullptr},
    {"0700", kMeat, 5, "Cold Cuts"},
    {"0800", kBread, 0, nullptr},
    {"0900", kFruits, 0, nullptr},
    {"1000", kPork, 3, "Other Pork"},
    {"1100", kVegetables, 0, nullptr},
    {"1200", kBeans, 0, nullptr},
    {"1300", kBeef, 2, "Other Beef"},
    {"1400", kDrinks, 2, "Other Drinks"},
    {"1500", kMeat, 3, "Fish"},
    {"1600", kBeans, 3, "Other Bean Foods"},
    {"1700", kLamb, 2, "Game Meat"},
    {"1800", kBread, 5, "Baked Goods"},
    {"1900", kSweets, 2, "Other Sweets"},
    {"2000", kBread, 0, nullptr},
    {"2100", kRestaurants, 3, "Fast Food"},
    {"2200", kMeals, 3, "Entrees, Side Dishes"},
    {"2500", kSnacks, 2, "Other Snacks"},
    {"3500", kNative, 3, "Other Native Foods"},
    {"3600", kRestaurants, 3, "Other Restaurants"},
};

// How a family becomes categories. keys: the lower-case families the rule covers,
// '|'-separated. category: its category (nullptr: the family in title case). keepFamily:
// the family's own words stay in the item names (several families share the category).
// subFormat: split by the next part; sub-families of at least threshold foods become the
// category subFormat names ("%s" is the sub-family in title case), the rest go to leftover
// (nullptr: category). skip: parts passed over when looking for the sub-family.
struct SFamilyRule {
    const char* keys;
    EGroup group;
    const char* category;
    bool keepFamily;
    const char* subFormat = nullptr;
    int threshold = 0;
    const char* skip = nullptr;
    const char* leftover = nullptr;
};

const SFamilyRule kFamilyRules[] = {
    // Dairy and eggs.
    {"cheese", kByUsdaGroup, "Cheese", false},
    {"cheese food|cheese spread|cheese product|cheese sauce|imitation cheese|cheese "
     "substitute|parmesan cheese topping",
     kByUsdaGroup, "Cheese Products", true},
    {"milk", kByUsdaGroup, "Milk", false},
    {"milk shakes|beverage|eggnog|milk substitutes", kMilk, "Milk Drinks", true},
    {"yogurt", kByUsdaGroup, "Yogurt", false},
    {"egg|eggs", kMeat, "Eggs", false},
    {"egg substitute|egg mix", kMeat, "Eggs", true},
    {"cream", kByUsdaGroup, "Cream", false},
    {"sour cream|sour dressing", kMilk, "Sour Cream", true},
    {"cream substitute", kMilk, "Cream Substitutes", false},
    {"dessert topping|whipped topping|whipped cream substitute|reddi wip fat free whipped "
     "topping",
     kMilk, "Whipped Toppings", true},
    {"ice cream|ice creams", kSweets, "Ice Cream", false},
    {"light ice cream|fat free ice cream|ice cream sandwich|ice cream bar|ice cream cone|ice "
     "cream cookie sandwich|ice cream sundae cone|milk dessert bar",
     kSweets, "Ice Cream", true},
    {"frozen novelties", kSweets, "Frozen Novelties", false},
    {"frozen yogurts", kSweets, "Frozen Yogurt", false},
    {"butter", kSweets, "Butter", false},
    {"butter oil|butter replacement|vegetable oil-butter spread", kSweets, "Butter", true},
    {"protein supplement|nutritional supplement for people with diabetes", kMilk, "Supplements",
     true},
    {"whey|kefir|dulce de leche", kMilk, "Other Dairy", true},
    // Spices and herbs.
    {"spices", kSpices, "Spices", false},
    {"basil|dill weed|thyme|rosemary|spearmint|peppermint", kSpices, "Herbs", true},
    {"vanilla extract|vinegar|seasoning mix|salt|capers|horseradish|mustard", kSpices, "Seasonings",
     true},
    // Baby foods.
    {"babyfood", kBaby, nullptr, false, "%s", 4, nullptr, "Other Baby Foods"},
    {"infant formula", kBaby, "Infant Formula", false, "%s", 4,
     "mead johnson|abbott nutrition|nestle|gerber|pbm products", "Infant Formula"},
    {"child formula|toddler formula", kBaby, "Toddler Formula", true},
    // Fats and oils.
    {"oil", kSweets, "Oils", false},
    {"vegetable oil|fish oil", kSweets, "Oils", true},
    {"fat|animal fat|lard|meat drippings", kSweets, "Lard, Animal Fat", true},
    {"salad dressing", kSweets, "Salad Dressing", false},
    {"creamy dressing|dressing|mayonnaise|mayonnaise dressing|sandwich spread", kSweets,
     "Salad Dressing", true},
    {"margarine", kSweets, "Margarine", false},
    {"margarine-like|margarine-like spread|margarine spread|margarine-like "
     "shortening|margarine-like vegetable-oil spread|margarine-like spread with yogurt",
     kSweets, "Margarine", true},
    {"shortening", kSweets, "Shortening", false},
    {"shortening frying|shortening industrial|shortening bread|shortening cake "
     "mix|shortening confectionery|shortening household soybean and palm",
     kSweets, "Shortening", true},
    // Poultry.
    {"chicken", kMeat, "Chicken", false, "Chicken %s", 5,
     "broilers or fryers|broiler or fryers|broiler|broilers", "Chicken"},
    {"chicken patty|chicken breast tenders|chicken breast|chicken spread|oven-roasted chicken "
     "breast roll",
     kMeat, "Chicken", true},
    {"turkey", kMeat, "Turkey", false},
    {"ground turkey|turkey from whole|turkey breast|turkey thigh|turkey roast|turkey "
     "sticks|turkey and gravy|turkey ham|turkey bacon",
     kMeat, "Turkey", true},
    {"duck", kMeat, "Duck", false},
    {"goose|canada goose", kMeat, "Goose", true},
    {"ostrich", kMeat, "Ostrich", false},
    {"emu", kMeat, "Emu", false},
    {"pheasant|quail|squab|guinea hen|dove|ruffed grouse|poultry|pate de foie gras", kMeat,
     "Other Poultry", true},
    // Sausages and luncheon meats.
    {"sausage", kMeat, "Sausage", false},
    {"pork sausage|turkey sausage|beef sausage|smoked link sausage|polish sausage|pork and beef "
     "sausage|pork and turkey sausage|turkey and pork sausage|pork sausage rice "
     "links|bratwurst|kielbasa|chorizo|knackwurst|bockwurst|brotwurst|swisswurst|beerwurst|"
     "thuringer|blood sausage|luncheon sausage|honey roll sausage|new england brand sausage",
     kMeat, "Sausage", true},
    {"frankfurter|cheesefurter", kMeat, "Hot Dogs", true},
    {"bologna|lebanon bologna", kMeat, "Bologna", true},
    {"salami|pepperoni", kMeat, "Salami", true},
    {"bacon|canadian bacon", kPork, "Bacon", true},
    {"ham", kPork, "Ham", false},
    // Pork.
    {"pork", kPork, "Other Pork", false, "%s", 8, "fresh|cured", "Other Pork"},
    {"pork loin", kPork, "Loin", false},
    // Beef.
    {"beef", kBeef, "Other Beef", false, "%s", 10, nullptr, "Other Beef"},
    {"beef composite", kBeef, "Other Beef", true},
    // Lamb, veal and game.
    {"lamb", kLamb, "Lamb", false, "%s", 10, nullptr, "Lamb"},
    {"veal", kLamb, "Veal", false, "Veal %s", 6, nullptr, "Veal"},
    {"game meat", kLamb, "Game Meat", false, "%s", 5, nullptr, "Game Meat"},
    {"bison", kLamb, "Bison", false},
    {"goat", kLamb, "Game Meat", true},
    // Fish and shellfish.
    {"fish", kByUsdaGroup, "Fish", false, "%s", 4, nullptr, "Fish"},
    {"mollusks|crustaceans", kByUsdaGroup, "Shellfish", false, "%s", 4, nullptr, "Shellfish"},
    {"salmon", kByUsdaGroup, "Salmon", false},
    {"steelhead trout", kByUsdaGroup, "Trout", false},
    // Legumes, nuts and seeds.
    {"beans", kByUsdaGroup, "Beans", false, "%s Beans", 5, nullptr, "Beans"},
    {"peanuts|peanut flour", kBeans, "Peanuts", true},
    {"peanut butter|peanut spread|peanut butter with omega-3", kBeans, "Peanut Butter", true},
    {"tofu|tofu yogurt|house foods|mori-nu", kBeans, "Tofu", true},
    {"soymilk|soy milk", kBeans, "Soymilk", false},
    {"soy sauce made from soy and wheat|soy sauce made from soy|soy sauce made from "
     "hydrolyzed vegetable protein|soy sauce",
     kBeans, "Soy Sauce", true},
    {"soy flour|soy meal|soy protein concentrate|soy protein isolate|soybean|okara", kBeans,
     "Soybeans", true},
    {"soybeans", kByUsdaGroup, "Soybeans", false},
    {"nuts", kBeans, "Nuts", false, "%s", 3, nullptr, "Nuts"},
    {"seeds", kBeans, "Seeds", false, "%s", 3, nullptr, "Seeds"},
    // Beverages.
    {"beverages", kDrinks, "Other Drinks", false, "%s", 5, nullptr, "Other Drinks"},
    {"alcoholic beverage|alcoholic beverages", kDrinks, "Alcoholic Drinks", false, "%s", 5, nullptr,
     "Alcoholic Drinks"},
    {"malt beverage", kDrinks, "Beer", true},
    {"carbonated beverage", kDrinks, "Soda", false},
    {"water", kDrinks, "Water", false},
    {"cocoa mix|strawberry-flavor beverage mix|shake", kDrinks, "Drink Mixes", true},
    {"lemonade|limeade|whiskey sour mix|cranberry juice cocktail", kDrinks, "Other Drinks", true},
    // Cereals, grains and pasta.
    {"cereals ready-to-eat", kBread, "Cold Cereal", false, "Cereal %s", 5, nullptr, "Cold Cereal"},
    {"cereals", kBread, "Hot Cereal", false},
    {"incaparina|millet", kBread, "Hot Cereal", true},
    {"rice", kByUsdaGroup, "Rice", false},
    {"wild rice|rice bran|rice noodles", kByUsdaGroup, "Rice", true},
    {"pasta", kBread, "Pasta, Noodles", false},
    {"spaghetti|macaroni|noodles|couscous", kBread, "Pasta, Noodles", true},
    {"wheat flour|wheat flours|rye flour|corn flour|rice flour|buckwheat flour|barley flour or "
     "meal|barley malt flour|oat flour|millet flour|sorghum flour|triticale flour|arrowroot "
     "flour|cornstarch|semolina|potato flour|carob flour|chickpea flour|acorn flour",
     kByUsdaGroup, "Flour", true},
    {"cornmeal", kByUsdaGroup, "Cornmeal", false},
    // Baked goods.
    {"cookies|cookie", kCakes, "Cookies", false},
    {"cake", kCakes, "Cake", false},
    {"cheesecake commercially prepared|cheesecake prepared from mix", kCakes, "Cake", true},
    {"pie", kCakes, "Pie", false},
    {"pie crust", kCakes, "Pie Crust", false},
    {"doughnuts", kCakes, "Doughnuts", false},
    {"danish pastry|coffeecake|sweet rolls|cinnamon buns|cream puff|cream puff "
     "shell|strudel|pastry|puff pastry|phyllo dough|toaster pastries|breakfast tart|pan dulce",
     kCakes, "Pastries", true},
    {"bread", kBread, "Bread", false},
    {"rolls", kBread, "Rolls", false},
    {"bagels", kBread, "Bagels", false},
    {"english muffins|muffins|muffin|keikitos", kBread, "Muffins", true},
    {"biscuits", kBread, "Biscuits", false},
    {"pancakes|pancakes plain|waffles|waffle|french toast", kBread, "Pancakes, Waffles", true},
    {"tortillas|taco shells|tostada shells", kBread, "Tortillas", true},
    {"crackers|rice crackers|cracker meal", kByUsdaGroup, "Crackers", true},
    {"bread crumbs|croutons|bread stuffing", kBread, "Stuffing, Crumbs", true},
    // Sweets.
    {"candies", kSweets, "Candy", false, "%s", 5, nullptr, "Candy"},
    {"puddings|pudding", kSweets, "Pudding", false},
    {"syrups|syrup", kSweets, "Syrup", false},
    {"fruit syrup", kSweets, "Syrup", true},
    {"frostings", kSweets, "Frosting", false},
    {"sweeteners|sweetener", kSweets, "Sweeteners", false},
    {"desserts", kSweets, "Desserts", false},
    {"rennin|milk dessert", kSweets, "Desserts", true},
    {"gelatin desserts|gelatins", kSweets, "Gelatin", false},
    {"baking chocolate|chocolate|cocoa|chocolate-flavored hazelnut spread", kSweets,
     "Chocolate, Cocoa", true},
    {"toppings|topping", kSweets, "Toppings", false},
    {"pie fillings", kSweets, "Pie Filling", false},
    {"sugars|sugar", kSweets, "Sugar", false},
    {"egg custards|flan", kSweets, "Custard, Flan", true},
    {"jams and preserves|jams|jellies|marmalade|fruit butters", kSweets, "Jam, Jelly", true},
    {"chewing gum|gums", kSweets, "Gum", true},
    // Snacks.
    {"snacks|snack", kSnacks, "Other Snacks", false, "%s", 5, nullptr, "Other Snacks"},
    {"popcorn", kSnacks, "Popcorn", false},
    {"tortilla chips", kSnacks, "Tortilla Chips", false},
    {"pretzels", kSnacks, "Pretzels", false},
    {"potato chips", kSnacks, "Potato Chips", false},
    {"granola bar|granola bars|breakfast bar|breakfast bars|formulated bar|milk and cereal "
     "bar|rice and wheat cereal bar",
     kSnacks, "Granola Bars", true},
    {"rice cake|rice cakes", kSnacks, "Rice Cakes", true},
    // Fruit that USDA names in several ways.
    {"lemon juice from concentrate", kFruits, "Lemon Juice", true},
    {"ruby red grapefruit juice blend", kFruits, "Grapefruit Juice", true},
    {"usda commodity pears", kFruits, "Pears", false},
    {"usda commodity peaches", kFruits, "Peaches", false},
    // Restaurants and fast food.
    {"fast foods|fast food", kRestaurants, "Fast Food", false},
    {"restaurant", kRestaurants, "Other Restaurants", false, "%s", 3, nullptr, "Other Restaurants"},
    {"pizza", kRestaurants, "Pizza", false},
    {"macaroni and cheese|macaroni or noodles with cheese|macaroni and cheese dinner with dry "
     "sauce mix",
     kMeals, "Macaroni and Cheese", true},
};

// Sub-family categories that read better than the sub-family in title case.
struct SSubName {
    const char* family;
    const char* sub;
    const char* category;
    bool keepSub = false; // several sub-families share the category: names keep their words
};

const SSubName kSubNames[] = {
    {"babyfood", "dinner", "Dinners"},
    {"babyfood", "fruit", "Fruits"},
    {"babyfood", "cereal", "Cereals"},
    {"babyfood", "juice", "Juices"},
    {"babyfood", "dessert", "Desserts"},
    {"babyfood", "meat", "Meats"},
    {"babyfood", "vegetables", "Vegetables"},
    {"chicken", "stewing", "Stewing Chicken"},
    {"chicken", "roasting", "Roasting Chicken"},
    {"chicken", "capons", "Capons"},
    {"chicken", "cornish game hens", "Cornish Game Hens"},
    {"chicken", "dark meat", "Chicken Dark Meat"},
    {"pork", "bacon", "Bacon"},
    {"pork", "ham", "Ham"},
    {"pork", "ham -- water added", "Ham", true},
    {"pork", "ham and water product", "Ham", true},
    {"pork", "ham with natural juices", "Ham", true},
    {"pork", "ground", "Ground Pork"},
    {"pork", "variety meats and by-products", "Variety Meats"},
    {"pork", "composite of trimmed retail cuts", "Composite Cuts"},
    {"beef", "variety meats and by-products", "Variety Meats"},
    {"beef", "composite of trimmed retail cuts", "Composite Cuts"},
    {"beef", "new zealand", "New Zealand Beef"},
    {"beef", "australian", "Australian Beef"},
    {"beef", "ground", "Ground Beef"},
    {"beef", "cured", "Cured Beef"},
    {"beef", "shoulder top blade steak", "Top Blade Steak"},
    {"beef", "chuck eye country-style ribs", "Chuck Eye Ribs"},
    {"beef", "rib eye steak/roast", "Rib Eye", true},
    {"beef", "rib eye steak", "Rib Eye", true},
    {"beef", "rib eye roast", "Rib Eye", true},
    {"beef", "rib eye", "Rib Eye"},
    {"beef", "ribeye cap steak", "Rib Eye", true},
    {"beef", "ribeye petite roast/filet", "Rib Eye", true},
    {"beef", "ribeye filet", "Rib Eye", true},
    {"beef", "ribeye petite roast", "Rib Eye", true},
    {"beef", "top loin petite roast/filet", "Top Loin", true},
    {"beef", "top loin petite roast", "Top Loin", true},
    {"beef", "top loin filet", "Top Loin", true},
    {"beef", "shoulder pot roast or steak", "Shoulder", true},
    {"beef", "shoulder steak", "Shoulder", true},
    {"beef", "shoulder pot roast", "Shoulder", true},
    {"beef", "plate steak", "Plate", true},
    {"beef", "plate", "Plate"},
    {"beef", "chuck for stew", "Chuck", true},
    {"beef", "chuck eye roast", "Chuck Eye", true},
    {"beef", "chuck eye steak", "Chuck Eye", true},
    {"lamb", "variety meats and by-products", "Lamb Variety Meats"},
    {"lamb", "new zealand", "New Zealand Lamb"},
    {"lamb", "domestic", "Domestic Lamb"},
    {"lamb", "australian", "Australian Lamb"},
    {"veal", "variety meats and by-products", "Veal Variety Meats"},
    {"game meat", "deer", "Venison"},
    {"fish", "flatfish", "Flounder, Sole"},
    {"beverages", "carbonated", "Soda"},
    {"beverages", "energy drink", "Energy Drinks"},
    {"beverages", "tea", "Tea"},
    {"beverages", "coffee", "Coffee"},
    {"beverages", "water", "Water"},
    {"alcoholic beverage", "wine", "Wine"},
    {"alcoholic beverage", "distilled", "Liquor"},
    {"alcoholic beverage", "beer", "Beer"},
    {"snacks", "corn-based", "Corn Snacks"},
    {"snacks", "granola bars", "Granola Bars"},
    {"snacks", "granola bar", "Granola Bars"},
    {"snacks", "rice cakes", "Rice Cakes"},
    {"candies", "mars snackfood us", "Mars Candy"},
    {"candies", "nestle", "Nestle Candy"},
    {"candies", "hershey's", "Hershey's Candy"},
    {"nuts", "hazelnuts or filberts", "Hazelnuts"},
    {"nuts", "coconut meat", "Coconut"},
    {"nuts", "coconut milk", "Coconut"},
    {"nuts", "coconut cream", "Coconut"},
    {"seeds", "sunflower seed kernels", "Sunflower Seeds"},
    {"seeds", "sesame butter", "Sesame"},
    {"seeds", "sesame seed kernels", "Sesame"},
    {"seeds", "sesame flour", "Sesame"},
    {"seeds", "pumpkin and squash seed kernels", "Pumpkin Seeds"},
    {"restaurant", "latino", "Latino Food"},
    {"restaurant", "chinese", "Chinese Food"},
    {"restaurant", "family style", "Family Restaurant"},
    {"restaurant", "mexican", "Mexican Food"},
    {"restaurant", "italian", "Italian Food"},
};

// Brand spellings in the data and the brand's name; matched at the start of a part.
struct SBrand {
    const char* prefix;
    const char* name;
};

const SBrand kBrands[] = {
    {"campbell's", "Campbell's"},
    {"kellogg's", "Kellogg's"},
    {"kellog's", "Kellogg's"},
    {"kellogg", "Kellogg's"},
    {"mcdonald's", "McDonald's"},
    {"wend'ys", "Wendy's"},
    {"wendy's", "Wendy's"},
    {"t.g.i. friday's", "TGI Friday's"},
    {"kashi", "Kashi"},
    {"mars snackfood us", "Mars Snackfood"},
    {"m&m mars", "Mars Snackfood"},
    {"hershey's", "Hershey's"},
    {"hershey", "Hershey's"},
    {"reese's", "Reese's"},
    {"pillsbury", "Pillsbury"},
    {"post", "Post"},
    {"general mills", "General Mills"},
    {"quaker", "Quaker"},
    {"malt-o-meal", "Malt-O-Meal"},
    {"morningstar farms", "Morningstar Farms"},
    {"worthington", "Worthington"},
    {"loma linda", "Loma Linda"},
    {"gardenburger", "Gardenburger"},
    {"silk", "Silk"},
    {"vitasoy usa", "Vitasoy"},
    {"pizza hut", "Pizza Hut"},
    {"domino's", "Domino's"},
    {"papa john's", "Papa John's"},
    {"little caesars", "Little Caesars"},
    {"burger king", "Burger King"},
    {"taco bell", "Taco Bell"},
    {"kfc", "KFC"},
    {"popeyes", "Popeyes"},
    {"subway", "Subway"},
    {"chick-fil-a", "Chick-fil-A"},
    {"arby's", "Arby's"},
    {"denny's", "Denny's"},
    {"applebee's", "Applebee's"},
    {"cracker barrel", "Cracker Barrel"},
    {"olive garden", "Olive Garden"},
    {"carrabba's italian grill", "Carrabba's"},
    {"on the border", "On The Border"},
    {"oscar mayer", "Oscar Mayer"},
    {"hormel", "Hormel"},
    {"kraft", "Kraft"},
    {"nestle", "Nestle"},
    {"ocean spray", "Ocean Spray"},
    {"the coca-cola company", "Coca-Cola"},
    {"v8 splash", "V8 Splash"},
    {"v8 v-fusion", "V8 V-Fusion"},
    {"gerber", "Gerber"},
    {"mead johnson", "Mead Johnson"},
    {"abbott nutrition", "Abbott"},
    {"abbott", "Abbott"},
    {"prego", "Prego"},
    {"p rego", "Prego"},
    {"pace", "Pace"},
    {"swanson", "Swanson"},
    {"archway", "Archway"},
    {"keebler", "Keebler"},
    {"murray", "Murray"},
    {"pepperidge farm", "Pepperidge Farm"},
    {"sunshine", "Sunshine"},
    {"mother's", "Mother's"},
    {"girl scouts", "Girl Scouts"},
    {"famous amos", "Famous Amos"},
    {"nabisco", "Nabisco"},
    {"digiorno", "DiGiorno"},
    {"spaghettios", "SpaghettiOs"},
    {"supper bakes meal kits", "Supper Bakes"},
    {"hot pockets", "Hot Pockets"},
    {"lean pockets", "Lean Pockets"},
    {"smart soup", "Smart Soup"},
    {"healthy request", "Campbell's"},
};

// Soups go by what they are made of, whatever their brand; first match wins.
struct SKeywordCategory {
    const char* keywords; // '|'-separated, matched as words in the lower-case description
    const char* category;
};

const SKeywordCategory kSoupCategories[] = {
    {"chowder", "Chowders"},
    {"broth|bouillon|consomme|stock|bone broth", "Broth, Bouillon"},
    {"cream of|bisque", "Cream Soups"},
    {"bean|beans|pea|lentil|split pea|minestrone", "Bean, Pea Soups"},
    {"chicken|turkey", "Chicken Soups"},
    {"beef|meatball|sirloin|steak", "Beef Soups"},
    {"tomato", "Tomato Soups"},
    {"noodle|ramen|rice|wonton|pasta|tortellini", "Noodle, Rice Soups"},
    {"vegetable|vegetarian|onion|mushroom|potato|asparagus|celery|broccoli|cheese|squash",
     "Vegetable Soups"},
};

// Parts of branded soup descriptions that name a product line rather than the soup: they
// go to the end of the item's name, where shortening drops them first.
constexpr const char* kProductLines[] = {
    "red and white",
    "chunky soups",
    "chunky",
    "soup on the go",
    "homestyle",
    "healthy request",
    "microwaveable bowls",
    "microwavable bowls",
    "low sodium soups",
    "red and white - microwaveable bowls",
    "chunky microwavable bowls",
    "homestyle microwaveable bowls",
    "select harvest",
    "well yes!",
    "chunky healthy request",
};

// A sweet baked good, for brands and small families of baked products.
constexpr const char* kSweetBakedWords[] = {
    "cookie",   "cookies",        "cake",        "cakes",    "pie",       "brownie",
    "brownies", "pastry",         "pastries",    "doughnut", "doughnuts", "danish",
    "toaster",  "strudel",        "wafer",       "wafers",   "eclair",    "cupcake",
    "cupcakes", "cinnamon rolls", "sweet rolls", "graham",   "grahams",   "fig bars",
};

std::vector<std::string_view> SplitKeys(std::string_view keys) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (start <= keys.size()) {
        size_t bar = keys.find('|', start);
        if (bar == std::string_view::npos)
            bar = keys.size();
        out.push_back(keys.substr(start, bar - start));
        start = bar + 1;
    }
    return out;
}

bool HasWord(std::string_view text, std::string_view word) {
    size_t pos = 0;
    while ((pos = text.find(word, pos)) != std::string_view::npos) {
        const size_t end = pos + word.size();
        const bool startOk = pos == 0 || !std::isalnum(static_cast<unsigned char>(text[pos - 1]));
        const bool endOk =
            end == text.size() || !std::isalnum(static_cast<unsigned char>(text[end]));
        if (startOk && endOk)
            return true;
        pos = end;
    }
    return false;
}

const SFamilyRule* FindRule(std::string_view key) {
    for (const auto& rule : kFamilyRules) {
        for (std::string_view k : SplitKeys(rule.keys)) {
            if (k == key)
                return &rule;
        }
    }
    return nullptr;
}

const SUsdaGroupRule* FindUsdaGroup(std::string_view code) {
    for (const auto& rule : kUsdaGroups) {
        if (code == rule.code)
            return &rule;
    }
    return nullptr;
}

// The brand a part starts with and what follows it.
struct SBrandMatch {
    std::string name;
    std::string rest;
};

std::optional<SBrandMatch> MatchKnownBrand(std::string_view part) {
    const std::string lower = LowerAscii(part);
    for (const auto& brand : kBrands) {
        const std::string_view prefix = brand.prefix;
        if (lower.compare(0, prefix.size(), prefix) != 0)
            continue;
        if (lower.size() > prefix.size() &&
            std::isalnum(static_cast<unsigned char>(lower[prefix.size()])))
            continue;
        std::string rest = CollapseSpaces(part.substr(prefix.size()));
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '-'))
            rest.erase(rest.begin());
        return SBrandMatch{brand.name, rest};
    }
    return std::nullopt;
}

// A word in capitals that names a maker ("KEEBLER", "BURGER", "MCKEE").
bool IsCapitalWord(std::string_view word) {
    int letters = 0;
    for (char c : word) {
        if (std::islower(static_cast<unsigned char>(c)))
            return false;
        if (std::isalpha(static_cast<unsigned char>(c)))
            ++letters;
        else if (!std::isdigit(static_cast<unsigned char>(c)) && c != '\'' && c != '&' &&
                 c != '.' && c != '-')
            return false;
    }
    return letters >= 2;
}

// Known brands, then leading words in capitals: "PIZZA HUT 14" Cheese Pizza" is the brand
// "Pizza Hut" and the product "14" Cheese Pizza".
std::optional<SBrandMatch> MatchBrand(std::string_view part) {
    if (auto known = MatchKnownBrand(part))
        return known;
    size_t pos = 0;
    size_t brandEnd = 0;
    while (pos < part.size()) {
        size_t end = part.find(' ', pos);
        if (end == std::string_view::npos)
            end = part.size();
        if (!IsCapitalWord(part.substr(pos, end - pos)))
            break;
        brandEnd = end;
        pos = end + 1;
    }
    if (brandEnd == 0)
        return std::nullopt;
    return SBrandMatch{CalmCapitals(part.substr(0, brandEnd)),
                       CollapseSpaces(part.substr(std::min(brandEnd + 1, part.size())))};
}

// A food's family before categories are chosen.
struct SFamily {
    EGroup group = kByUsdaGroup;
    std::string key;     // lower case, the family's identity
    std::string display; // its name in title case
    std::string text;    // the family as the description writes it, for names that keep it
    bool brand = false;
    const SFamilyRule* rule = nullptr;
    std::vector<std::string> parts; // after the family
};

EGroup UsdaDefaultGroup(const SUsdaFood& food) {
    const SUsdaGroupRule* rule = FindUsdaGroup(food.groupCode);
    return rule ? rule->group : kRestaurants;
}

bool IsSweetBaked(const SUsdaFood& food) {
    const std::string lower = LowerAscii(food.longDesc);
    return std::any_of(std::begin(kSweetBakedWords), std::end(kSweetBakedWords),
                       [&](const char* word) { return HasWord(lower, word); });
}

SFamily FindFamily(const SUsdaFood& food) {
    SFamily family;
    std::vector<std::string> parts = SplitDescription(food.longDesc);
    if (parts.empty())
        parts.push_back(food.ndbNo);

    // "USDA Commodity" says who bought the food, not what it is.
    const std::string firstLower = LowerAscii(parts[0]);
    if (firstLower.rfind("usda commodity", 0) == 0 && parts.size() > 1) {
        std::string rest = CollapseSpaces(parts[0].substr(14));
        if (LowerAscii(rest) == "food" || rest.empty())
            parts.erase(parts.begin());
        else
            parts[0] = rest;
    }

    if (const SFamilyRule* rule = FindRule(LowerAscii(StripParentheses(parts[0])))) {
        family.rule = rule;
        family.key = LowerAscii(StripParentheses(parts[0]));
    } else if (auto brand = MatchBrand(parts[0])) {
        family.brand = true;
        family.key = LowerAscii(brand->name);
        family.display = brand->name;
        family.text = brand->name;
        parts.erase(parts.begin());
        if (!brand->rest.empty())
            parts.insert(parts.begin(), brand->rest);
        family.parts = parts;
        family.rule = FindRule(family.key);
        return family;
    } else {
        family.key = LowerAscii(StripParentheses(parts[0]));
    }
    family.text = parts[0];
    family.display = TitleCase(CalmCapitals(StripParentheses(parts[0])));
    parts.erase(parts.begin());
    family.parts = parts;
    return family;
}

// The sub-family part of a family's parts: the first one not passed over.
struct SSub {
    size_t index = 0;
    std::string key;
    std::string display;
    std::string rest; // what remains of the part after a brand at its start
};

std::optional<SSub> FindSub(const SFamily& family) {
    const SFamilyRule* rule = family.rule;
    std::vector<std::string_view> skip;
    if (rule->skip)
        skip = SplitKeys(rule->skip);
    for (size_t i = 0; i < family.parts.size(); ++i) {
        const std::string key = LowerAscii(StripParentheses(family.parts[i]));
        if (std::find(skip.begin(), skip.end(), key) != skip.end())
            continue;
        SSub sub;
        sub.index = i;
        if (auto brand = MatchKnownBrand(family.parts[i])) {
            sub.key = LowerAscii(brand->name);
            sub.display = brand->name;
            sub.rest = brand->rest;
        } else {
            sub.key = key;
            sub.display = TitleCase(CalmCapitals(StripParentheses(family.parts[i])));
        }
        return sub;
    }
    return std::nullopt;
}

const SSubName* FindSubName(const SFamily& family, const SSub& sub) {
    // A rule covering several spellings names its sub-categories after its first key.
    const std::string_view firstKey = SplitKeys(family.rule->keys).front();
    for (const auto& name : kSubNames) {
        if ((family.key == name.family || firstKey == name.family) && sub.key == name.sub)
            return &name;
    }
    return nullptr;
}

std::string SubCategory(const SFamily& family, const SSub& sub) {
    if (const SSubName* name = FindSubName(family, sub))
        return name->category;
    std::string format = family.rule->subFormat;
    const size_t at = format.find("%s");
    format.replace(at, 2, sub.display);
    return ShortenTitle(format);
}

std::string SoupCategory(const SUsdaFood& food) {
    const std::string lower = LowerAscii(food.longDesc);
    for (const auto& entry : kSoupCategories) {
        for (std::string_view word : SplitKeys(entry.keywords)) {
            if (HasWord(lower, word))
                return entry.category;
        }
    }
    return "Other Soups";
}

bool IsSoup(const SUsdaFood& food) {
    if (food.groupCode != "0600")
        return false;
    const std::string lower = LowerAscii(food.longDesc);
    for (const char* word : {"soup", "soups", "chowder", "broth", "bisque", "bouillon", "consomme",
                             "stock", "gumbo", "stew"}) {
        if (HasWord(lower, word))
            return true;
    }
    return false;
}

// Moves product-line parts of a branded soup behind the soup's own words, and ends with
// the brand so that it can tell two soups apart when nothing else does.
std::vector<std::string> SoupParts(const SFamily& family) {
    std::vector<std::string> front;
    std::vector<std::string> back;
    for (const auto& part : family.parts) {
        const std::string lower = LowerAscii(part);
        const bool line = std::any_of(std::begin(kProductLines), std::end(kProductLines),
                                      [&](const char* l) { return lower == l; });
        (line ? back : front).push_back(part);
    }
    // "Split pea soup" or "Fish broth" is the soup itself; "Soup" says nothing here.
    if (!family.brand && family.key != "soup")
        front.insert(front.begin(), family.text);
    front.insert(front.end(), back.begin(), back.end());
    if (family.brand)
        front.push_back(family.display);
    return front;
}

} // namespace

std::vector<SFoodPlace> PlaceFoods(const std::vector<SUsdaFood>& foods) {
    std::vector<SFamily> families;
    families.reserve(foods.size());
    for (const auto& food : foods)
        families.push_back(FindFamily(food));

    // A family spelled in the singular and the plural is one family ("Mango", "Mangos").
    std::map<std::string, std::set<std::string>> keysByUsdaGroup;
    for (size_t i = 0; i < foods.size(); ++i)
        keysByUsdaGroup[foods[i].groupCode].insert(families[i].key);
    for (size_t i = 0; i < foods.size(); ++i) {
        SFamily& family = families[i];
        if (family.rule || family.brand)
            continue;
        const auto& keys = keysByUsdaGroup[foods[i].groupCode];
        for (const char* suffix : {"s", "es"}) {
            const std::string plural = family.key + suffix;
            if (keys.count(plural)) {
                family.key = plural;
                family.display = TitleCase(plural);
                break;
            }
        }
    }

    // Sizes decide sub-families and catch-alls.
    std::map<std::pair<std::string, std::string>, int> familySize; // (USDA group, family)
    std::map<std::tuple<const SFamilyRule*, std::string>, int> subSize;
    std::vector<std::optional<SSub>> subs(foods.size());
    for (size_t i = 0; i < foods.size(); ++i) {
        ++familySize[{foods[i].groupCode, families[i].key}];
        if (families[i].rule && families[i].rule->subFormat) {
            subs[i] = FindSub(families[i]);
            if (subs[i])
                ++subSize[{families[i].rule, subs[i]->key}];
        }
    }

    std::vector<SFoodPlace> places;
    places.reserve(foods.size());
    for (size_t i = 0; i < foods.size(); ++i) {
        const SUsdaFood& food = foods[i];
        const SFamily& family = families[i];
        const SFamilyRule* rule = family.rule;
        SFoodPlace place;
        EGroup group = rule && rule->group != kByUsdaGroup ? rule->group : UsdaDefaultGroup(food);
        place.parts = family.parts;

        if (IsSoup(food) && (!rule || family.key == "soup")) {
            place.category = SoupCategory(food);
            place.parts = SoupParts(family);
        } else if (rule && rule->subFormat) {
            const auto& sub = subs[i];
            if (sub && subSize[{rule, sub->key}] >= rule->threshold) {
                place.category = SubCategory(family, *sub);
                const SSubName* name = FindSubName(family, *sub);
                if (name && name->keepSub)
                    ; // the sub-family's words tell the foods of a shared category apart
                else if (sub->rest.empty())
                    place.parts.erase(place.parts.begin() + static_cast<long>(sub->index));
                else
                    place.parts[sub->index] = sub->rest;
            } else {
                place.category = rule->leftover ? rule->leftover : rule->category;
            }
            // Parts passed over ("fresh", "cured") go last, where they lead neither names nor
            // the split of a large category.
            if (rule->skip) {
                const auto skip = SplitKeys(rule->skip);
                std::stable_partition(
                    place.parts.begin(), place.parts.end(), [&](const std::string& p) {
                        return std::find(skip.begin(), skip.end(), LowerAscii(p)) == skip.end();
                    });
            }
        } else if (rule) {
            place.category = rule->category ? rule->category : family.display;
            if (rule->keepFamily)
                place.parts.insert(place.parts.begin(), family.text);
        } else {
            const SUsdaGroupRule* usda = FindUsdaGroup(food.groupCode);
            const bool small = usda && usda->minFamily > 0 &&
                               familySize[{food.groupCode, family.key}] < usda->minFamily;
            if (small) {
                place.category = usda->catchAll;
                place.parts.insert(place.parts.begin(), family.text);
            } else {
                place.category = ShortenTitle(family.display);
            }
        }
        // Brands and small families of baked products go with the cakes when they are sweet.
        if (food.groupCode == "1800" && (!rule || family.brand) && IsSweetBaked(food))
            group = kCakes;
        if (place.parts.empty())
            place.parts.push_back(family.brand ? family.display : family.text);
        place.group = kFoodGroupNames[group];
        place.category = ShortenTitle(place.category);
        if (family.brand)
            place.brand = family.text;
        places.push_back(std::move(place));
    }
    return places;
}

} // namespace fitquill
