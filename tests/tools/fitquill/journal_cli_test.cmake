# A demonstration journal made, listed and exported; the same seed makes the same file.
include(${CMAKE_CURRENT_LIST_DIR}/fitquill_cli.cmake)
fq_sandbox()
fq_settings("Name=${WORK}/install/")
set(folder "${WORK}/install/Fitquill/Desktop/Users/Ann/Fitquill")

fq_run(0 demo --user Ann --days 30 --seed 7)
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "Ann\n" "demo adds the user")
fq_expect_exists("${folder}/UserDB.ddb")

# Thirty days ending on FITQUILL_TODAY, over February 29.
fq_run(0 dump --journal "${folder}/UserDB.ddb")
fq_expect_match("${FQ_OUT}" "user name: \"Ann\"" "the user name in the profile")
fq_expect_match("${FQ_OUT}" "Day index: first record 3, count 30\n" "the day index")
fq_expect_match("${FQ_OUT}" "\nDay 1 of 30: 2024-02-15 Thursday \\(record 3\\)\n" "the first day")
fq_expect_match("${FQ_OUT}" "\nDay 15 of 30: 2024-02-29 Thursday" "the leap day")
fq_expect_match("${FQ_OUT}" "\nDay 30 of 30: 2024-03-15 Friday \\(record 32\\)\n" "the last day")
string(REGEX MATCHALL "\nDay [0-9]+ of 30:" days "${FQ_OUT}")
list(LENGTH days count)
fq_expect_equal("${count}" "30" "listed days")
string(REGEX MATCHALL "\n  Exercises: [0-9]+ entries\n    \"[^\"]+\" id 0x[0-9A-F]+" exercises
       "${FQ_OUT}")
if(exercises STREQUAL "")
    message(FATAL_ERROR "a month without one exercise")
endif()

# Today's logbook: the day's own weight, so a food budget, and the goal of the demo profile.
fq_run(0 logbook --journal "${folder}/UserDB.ddb")
fq_expect_match("${FQ_OUT}" "^Weight\n  Current Weight: [0-9]+(\\.[0-9])? (lbs|kg)\n" "the day's weight")
fq_expect_match("${FQ_OUT}" "your food budget is:  -?[0-9]+ cal\n" "the food budget")
fq_expect_match("${FQ_OUT}" "\nGoals\n  Total Calories: -?[0-9]+ cal\n  To (lose|gain) "
                "the goal sentence")
fq_expect_match("${FQ_OUT}" "\nBody Measurements\n  Neck: " "the printed-only sections")
fq_run(1 logbook --journal "${WORK}/missing.ddb")

# Today's meal log as the page lists it: meals in order, a food's name, serving and calories,
# then the totals and the hint.
fq_run(0 meal-log --journal "${folder}/UserDB.ddb")
fq_expect_match("${FQ_OUT}" "^Breakfast\n(.*\n)?Lunch\n(.*\n)?Dinner\n(.*\n)?Snack\n"
                "the meals in order")
fq_expect_match("${FQ_OUT}" "\n[^\t\n]+\t[0-9]+\\.[0-9][0-9] [^\t\n]+\t[0-9]+  Cal\t" "a food row")
fq_expect_match("${FQ_OUT}" "\nTotals\t[0-9]+  Cal\t.*\nDouble click to insert a food item.\n$"
                "the totals and the hint last")
fq_run(1 meal-log --journal "${WORK}/missing.ddb")

# The user's export goes beside the journal; one line per day after the header, and a file
# export of the same journal is the same text.
fq_run(0 export-user-data --user Ann)
fq_expect_equal("${FQ_OUT}" "User data was successfully exported.\n" "export message")
fq_read_crlf_lines("${folder}/UserDB.csv" lines)
list(LENGTH lines count)
fq_expect_equal("${count}" "31" "header and day lines")
list(GET lines 0 header)
fq_expect_equal("${header}" "Date,Weight,Meals,BMR,Exercise,Total,,Cal,Carb,Prot,Fiber,Fat,SFat"
                "header line")
list(GET lines 1 first)
fq_expect_match("${first}" "^2/15/2024," "first day line")
list(GET lines 30 last)
fq_expect_match("${last}" "^3/15/2024,([0-9]+\\.[0-9][0-9][0-9][0-9][0-9][0-9])?,[0-9]+,-?[0-9]+,-?[0-9]+,-?[0-9]+,,"
                "last day line")
fq_run(0 export-user-data --journal "${folder}/UserDB.ddb" --out "${WORK}/copy.csv")
fq_expect_same_file("${folder}/UserDB.csv" "${WORK}/copy.csv")

# The weight trend of the user's journal, today and on a day too early for a weekly rate.
fq_run(0 trend --user Ann)
fq_expect_match("${FQ_OUT}"
    "^Trend: (steady|(up|down) [0-9.]+ (lbs|kg) a week) over the last 14 days\\.( [^\n]*goal weight[^\n]*| At this rate you reach [0-9.]+ (lbs|kg) on [A-Za-z]+ [A-Za-z]+ [0-9]+, 20[0-9][0-9]\\.)?\n$"
    "trend statement")
fq_run(0 trend --journal "${folder}/UserDB.ddb" --date 2024-02-20)
fq_expect_equal("${FQ_OUT}"
    "Trend: at least 14 days of weights are needed to tell its weekly rate.\n" "early trend")
fq_run(1 trend --journal "${folder}/UserDB.ddb" --date 2024-02-30)
fq_run(1 trend --journal "${folder}/UserDB.ddb" --user Ann)
fq_run(1 trend --journal "${WORK}/missing.ddb")

# Journal files: the same seed gives the same bytes, another seed others.
fq_run(0 demo --journal "${WORK}/a/UserDB.ddb" --days 30 --seed 7)
fq_expect_match("${FQ_OUT}" "^Wrote 30 days \\(2024-02-15 to 2024-03-15\\) to " "demo message")
fq_run(0 demo --journal "${WORK}/b.ddb" --days 30 --seed 7)
fq_expect_same_file("${WORK}/a/UserDB.ddb" "${WORK}/b.ddb")
fq_run(0 demo --journal "${WORK}/c.ddb" --days 30 --seed 8)
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}/b.ddb" "${WORK}/c.ddb"
                RESULT_VARIABLE differ)
if(differ EQUAL 0)
    message(FATAL_ERROR "seeds 7 and 8 made the same journal")
endif()

# Refused runs change nothing.
file(COPY_FILE "${WORK}/b.ddb" "${WORK}/keep.ddb")
foreach(bad "--days;0" "--days;abc" "--days;14601" "--days;5;--seed;-1" "--days;5;--user;Ann")
    fq_run(1 demo --journal "${WORK}/b.ddb" ${bad})
endforeach()
fq_expect_same_file("${WORK}/b.ddb" "${WORK}/keep.ddb")
file(WRITE "${WORK}/not-a-folder" "x")
fq_run(1 demo --journal "${WORK}/not-a-folder/UserDB.ddb" --days 5)

# A damaged journal is listed as far as it reads, and refused.
file(SIZE "${WORK}/b.ddb" size)
math(EXPR cut_end "${size} / 2")
file(DOWNLOAD "file://${WORK}/b.ddb" "${WORK}/cut.ddb" RANGE_START 0 RANGE_END ${cut_end})
fq_run(1 dump --journal "${WORK}/cut.ddb")
fq_expect_match("${FQ_OUT}" "^Journal file: [^\n]*cut.ddb \\(damaged\\)\nHeader\n" "damaged dump")
fq_expect_match("${FQ_OUT}" "\nDay 1 of [0-9]+: 2024-02-15 " "the days before the damage")
fq_run(1 export-user-data --journal "${WORK}/cut.ddb" --out "${WORK}/cut.csv")
fq_expect_missing("${WORK}/cut.csv")
fq_run(1 dump --journal "${WORK}/missing.ddb")
fq_run(1 dump --journal "${WORK}/b.ddb" --food "${WORK}/b.ddb")
