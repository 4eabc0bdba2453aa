# Food databases: import into a new file, list, find, export, and a failed import that leaves
# the file byte for byte as it was.
include(${CMAKE_CURRENT_LIST_DIR}/fitquill_cli.cmake)
fq_sandbox()
set(db "${WORK}/FoodDB.ddb")
set(apple "Apple,Apple,1.00,item,Y,0.00,,N,72,19.1,3.3,0.4,0.2,0.0,Fruits+ Fruit Juice,Fresh,\r\n")
set(banana "Banana,Banana,1.00,item,Y,118.00,g,N,105,27.0,3.1,1.3,0.4,0.1,Fruits+ Fruit Juice,Fresh,\r\n")
set(oatmeal "Oatmeal,Oatmeal,1.00,cup,Y,234.00,g,N,166,28.1,4.0,5.9,3.6,0.6,Breads+ Cereals,Hot,\r\n")
file(WRITE "${WORK}/foods.csv" "${apple}${banana}${oatmeal}")

fq_run(0 food import --db "${db}" --csv "${WORK}/foods.csv" --mode 0)
fq_expect_equal("${FQ_OUT}" "Imported 3 lines of food data.\nThe file was read as Windows-1252.\n" "import into a new database")
fq_expect_exists("${db}")

fq_run(0 dump --food "${db}")
fq_expect_match("${FQ_OUT}" "Groups: 2, categories: 2, food items: 3\n" "dump totals")
fq_expect_match("${FQ_OUT}" "\nGroup \"Breads, Cereals\" id 0x[0-9A-F]+, modified 1, record 2, 1 categories\n  Category \"Hot\" "
                "the first group, in name order")
fq_expect_match("${FQ_OUT}" "\n    Item \"Apple\" id 0x[0-9A-F]+, modified 1, search name \"Apple\"; serving 1 item \\(unit set [0-9]\\), ratio 1; volume or item 1 item, weight none; meal type 0; Calorie 72, Carb 19.1, Protein 0.4, Fiber 3.3, Fat 0.2, SFat 0\n"
                "the apple of the first line")

# Found by search name or by category, ignoring case, in item-name order.
fq_run(0 food find --db "${db}" a)
fq_expect_equal("${FQ_OUT}"
    "Fruits, Fruit Juice / Fresh / Apple\nFruits, Fruit Juice / Fresh / Banana\nBreads, Cereals / Hot / Oatmeal\n"
    "find a")
fq_run(0 food find --db "${db}" FRESH)
fq_expect_equal("${FQ_OUT}" "Fruits, Fruit Juice / Fresh / Apple\nFruits, Fruit Juice / Fresh / Banana\n"
                "find by category")
fq_run(0 food find --db "${db}" kiwi)
fq_expect_equal("${FQ_OUT}" "" "no match")
fq_run(1 food find --db "${db}")

# Exports in list order, the same text that was imported.
fq_run(0 food export --db "${db}" --out "${WORK}/all.csv")
fq_expect_equal("${FQ_OUT}" "Food data was successfully exported.\n" "export message")
fq_expect_file_bytes("${WORK}/all.csv" "${oatmeal}${apple}${banana}" "export of all groups")
fq_run(0 food export --db "${db}" --out "${WORK}/fresh.csv" --group "Fruits, Fruit Juice" --category Fresh)
fq_expect_file_bytes("${WORK}/fresh.csv" "${apple}${banana}" "export of one category")
fq_run(0 food export --db "${db}")
fq_expect_exists("${WORK}/FoodDB.csv")
fq_run(1 food export --db "${db}" --group Sweets)
fq_run(1 food export --db "${db}" --category Fresh)

# A line with the unit "Cup" fails on line 2: nothing is saved, the message names the line.
file(COPY_FILE "${db}" "${WORK}/before.ddb")
file(WRITE "${WORK}/bad.csv"
     "Pear,Pear,1.00,item,Y,0.00,,N,100,27.0,5.5,0.6,0.2,0.0,Fruits+ Fruit Juice,Fresh,\r\n"
     "Milk,Milk,1.00,Cup,Y,0.00,,N,83,12.2,0.0,8.3,0.2,0.1,Dairy,Milk,\r\n")
foreach(mode 0 1 2 3)
    fq_run(1 food import --db "${db}" --csv "${WORK}/bad.csv" --mode ${mode})
    fq_expect_equal("${FQ_ERR}"
        "Importing of food data failed on line 2 (a measure's unit is not one of the unit names). Nothing was imported; the food database file is unchanged.\n"
        "failed import in mode ${mode}")
    fq_expect_same_file("${db}" "${WORK}/before.ddb")
endforeach()

# Files without a food line are refused in every mode, the database file untouched.
file(WRITE "${WORK}/empty.csv" "")
file(WRITE "${WORK}/blank.csv" "\r\n  \r\n")
file(WRITE "${WORK}/header.csv" "Name,Search,Amount,Unit,Serving,Amount,Unit,Serving,Calories,Carb,Fiber,Protein,Fat,SFat,Group,Category,\r\n")
foreach(name empty blank header)
    foreach(mode 0 1 2 3)
        fq_run(1 food import --db "${db}" --csv "${WORK}/${name}.csv" --mode ${mode})
        fq_expect_equal("${FQ_ERR}" "The file holds no food data. The food database was not changed.\n"
                        "${name} file in mode ${mode}")
        fq_expect_same_file("${db}" "${WORK}/before.ddb")
    endforeach()
endforeach()
file(GLOB leftovers "${WORK}/FoodDB.ddb?*")
fq_expect_equal("${leftovers}" "" "temporary files of a failed import")

# A successful import is saved: mode 3 keeps the existing apple, mode 2 takes the new one.
string(REPLACE ",72," ",80," apple80 "${apple}")
file(WRITE "${WORK}/apple80.csv" "${apple80}")
fq_run(0 food import --db "${db}" --csv "${WORK}/apple80.csv" --mode 3)
fq_expect_equal("${FQ_OUT}" "Imported 1 line of food data.\nThe file was read as Windows-1252.\n" "mode 3 counts the kept line")
fq_run(0 food find --db "${db}" apple)
fq_run(0 dump --food "${db}")
fq_expect_match("${FQ_OUT}" "Item \"Apple\"[^\n]*Calorie 72," "mode 3 keeps the apple")
fq_run(0 food import --db "${db}" --csv "${WORK}/apple80.csv" --mode 2)
fq_run(0 dump --food "${db}")
fq_expect_match("${FQ_OUT}" "Item \"Apple\"[^\n]*Calorie 80," "mode 2 replaces the apple")
fq_expect_match("${FQ_OUT}" "food items: 3\n" "nothing else changed")

fq_run(1 food import --db "${db}" --csv "${WORK}/apple80.csv" --mode 4)
fq_run(1 food import --db "${db}" --csv "${WORK}/missing.csv" --mode 2)
fq_run(1 food import --db "${db}" --csv "${WORK}/apple80.csv")
fq_run(1 dump --food "${WORK}/missing.ddb")
fq_run(1 dump --food "${WORK}/foods.csv")
fq_run(1 food find --db "${WORK}/missing.ddb" a)

# Stored text is Windows-1252; the terminal and the command line speak UTF-8.
set(brulee "Crème brûlée,Crème brûlée,1.00,item,Y,0.00,,N,300,30.0,0.0,4.0,15.0,9.0,Desserts,Crème,\r\n")
file(WRITE "${WORK}/utf8.csv" "${brulee}")
fq_run(0 food import --db "${WORK}/sweet.ddb" --csv "${WORK}/utf8.csv" --mode 0)
fq_expect_equal("${FQ_OUT}" "Imported 1 line of food data.\nThe file was read as UTF-8.\n" "UTF-8 import")
fq_run(0 food find --db "${WORK}/sweet.ddb" "BRûlée")
fq_expect_equal("${FQ_OUT}" "Desserts / Crème / Crème brûlée\n" "find prints UTF-8")
fq_run(0 dump --food "${WORK}/sweet.ddb")
fq_expect_match("${FQ_OUT}" "Item \"Crème brûlée\"" "dump prints UTF-8")
fq_run(0 food export --db "${WORK}/sweet.ddb" --out "${WORK}/sweet.csv" --group Desserts --category "Crème")
file(READ "${WORK}/sweet.csv" hex HEX)
# "Crème brûlée," in Windows-1252.
fq_expect_match("${hex}" "^4372e86d65206272fb6ce9652c" "the export keeps Windows-1252")
fq_run(1 food find --db "${WORK}/sweet.ddb" "寿司")
fq_expect_match("${FQ_ERR}" "cannot store" "a text the files cannot hold is refused")

# Replacing ten foods with one needs --force; without it the file stays as it was.
set(ten "")
foreach(i RANGE 1 10)
    string(APPEND ten "Food ${i},Food,1.00,item,Y,0.00,,N,10,1.0,0.0,0.0,0.0,0.0,Group,Category,\r\n")
endforeach()
file(WRITE "${WORK}/ten.csv" "${ten}")
fq_run(0 food import --db "${WORK}/ten.ddb" --csv "${WORK}/ten.csv" --mode 0)
file(COPY_FILE "${WORK}/ten.ddb" "${WORK}/ten-before.ddb")
fq_run(1 food import --db "${WORK}/ten.ddb" --csv "${WORK}/apple80.csv" --mode 0)
fq_expect_equal("${FQ_ERR}" "The new food data holds 1 foods; the food database holds 10. Nothing was imported: replacing more than half of the foods needs --force.\n"
                "mode 0 shrinking the database")
fq_expect_same_file("${WORK}/ten.ddb" "${WORK}/ten-before.ddb")
fq_run(0 food import --db "${WORK}/ten.ddb" --csv "${WORK}/apple80.csv" --mode 0 --force)
fq_run(0 dump --food "${WORK}/ten.ddb")
fq_expect_match("${FQ_OUT}" "food items: 1\n" "--force replaces")
