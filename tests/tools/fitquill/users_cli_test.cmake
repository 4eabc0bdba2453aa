# Users of the program's own list (no Palm Desktop folder): Users.udb below the installation
# path that the settings name.
include(${CMAKE_CURRENT_LIST_DIR}/fitquill_cli.cmake)
fq_sandbox()
fq_settings("Name=${WORK}/install/")
set(root "${WORK}/install/Fitquill/Desktop/Users")
set(add_failed "Could not add the user.  Make sure you are not inputting a duplicate name.\n")
set(rename_failed "Could not rename the user.  Make sure you are not inputting a duplicate name.\n")

fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "" "a first run lists nobody")
fq_expect_exists("${root}/Users.udb")

fq_run(0 users add Carl)
fq_run(0 users add bob)
fq_run(0 users add Ann)
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "Ann\nbob\nCarl\n" "users in name order")
fq_expect_exists("${root}/bob")

# Duplicates and names that are no single folder name are refused alike, and nothing is made
# outside the users root.
foreach(name Ann ../x .. "a/b" " ")
    fq_run(1 users add "${name}")
    fq_expect_equal("${FQ_ERR}" "${add_failed}" "adding '${name}'")
endforeach()
fq_expect_missing("${WORK}/install/Fitquill/Desktop/x")
fq_run(0 users add ann)

fq_run(0 users rename bob Bob)
fq_expect_exists("${root}/Bob")
fq_expect_missing("${root}/bob")
fq_run(0 users rename Carl able)
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "able\nann\nAnn\nBob\n" "renamed users keep the order")
foreach(new Bob ../x)
    fq_run(1 users rename Ann "${new}")
    fq_expect_equal("${FQ_ERR}" "${rename_failed}" "renaming to '${new}'")
endforeach()
fq_run(1 users rename Nobody Somebody)
fq_expect_equal("${FQ_ERR}" "There is no user named 'Nobody'.\n" "renaming a stranger")

# Deleting takes the user's files and folders along.
fq_run(0 demo --user Ann --days 3)
fq_expect_exists("${root}/Ann/Fitquill/UserDB.ddb")
fq_run(0 users delete Ann)
fq_expect_missing("${root}/Ann")
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "able\nann\nBob\n" "after the delete")
fq_run(1 users delete Ann)
fq_expect_equal("${FQ_ERR}" "There is no user named 'Ann'.\n" "deleting twice")

fq_run(1 users add)
fq_run(1 users shuffle)
fq_run(1 nonsense)
fq_run(0 --help)
fq_expect_match("${FQ_OUT}" "users rename OLD NEW" "the help text")

# Names are typed and shown as UTF-8, kept in the list as Windows-1252, and the folder is the
# UTF-8 form; a name the list cannot hold is refused.
fq_run(0 users add "Zoë")
fq_expect_exists("${root}/Zoë")
file(READ "${root}/Users.udb" hex HEX)
fq_expect_match("${hex}" "5a6feb00" "the list keeps Windows-1252")
fq_run(0 demo --user "Zoë" --days 2)
fq_expect_exists("${root}/Zoë/Fitquill/UserDB.ddb")
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "able\nann\nBob\nZoë\n" "UTF-8 in the list")
fq_run(1 users add "寿司")
fq_expect_match("${FQ_ERR}" "^The user name '寿司' holds '寿'" "a name the list cannot hold")
