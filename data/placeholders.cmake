# Writes the stand-in archives of the portable "cons" folder:
#   cmake -DCONS_DIR=<folder> -P placeholders.cmake
# A real install replaces them with the mod's own archives; scripts/run
# recognises them by their first words and never overwrites a real one.
if(NOT CONS_DIR)
    message(FATAL_ERROR "CONS_DIR is not set")
endif()

set(marker "Grimtide Switch placeholder archive:")

foreach(number RANGE 1 20)
    file(WRITE "${CONS_DIR}/cr/${number}/menu.rfa" "${marker} crosshair ${number}\n")
endforeach()
foreach(number RANGE 1 3)
    file(WRITE "${CONS_DIR}/rt/${number}/game.rfa" "${marker} reticle ${number}\n")
endforeach()
