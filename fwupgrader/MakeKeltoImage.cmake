# Writes the firmware image the upgrader carries: an Intel HEX text in the shape
# of the switch's own images (CR LF lines, 16-byte data records of 14-bit words
# low byte first, a few records in the boot loader's area, the configuration
# word past the application area, an end record). Its words are a fixed
# pseudo-random pattern: a stand-in for testing the upgrade path, not firmware
# that runs on a switch.
#   cmake -DOUTPUT=path -P MakeKeltoImage.cmake
if(NOT OUTPUT)
  message(FATAL_ERROR "MakeKeltoImage.cmake needs -DOUTPUT=path")
endif()

set(kDigits 0123456789ABCDEF)
# Word addresses of the image's parts.
set(kBootWords 32)            # words 0..31: the boot loader's reset vector and more
set(kApplicationStart 512)
set(kApplicationEnd 7808)     # the image stops short of 7936: the rest is filled
set(kGapEvery 29)             # every 29th record left out: gaps for the writer to fill
set(kConfigWord 8199)         # the configuration word
set(kConfigValue 16178)       # 0x3F32

# Two upper-case hexadecimal digits of a byte.
function(hex_byte out value)
  math(EXPR hi "(${value} >> 4) & 15")
  math(EXPR lo "${value} & 15")
  string(SUBSTRING ${kDigits} ${hi} 1 h)
  string(SUBSTRING ${kDigits} ${lo} 1 l)
  set(${out} "${h}${l}" PARENT_SCOPE)
endfunction()

# One record line: byte count, byte address, type, the data bytes, checksum.
function(hex_record out address type)
  list(LENGTH ARGN count)
  math(EXPR addressHigh "(${address} >> 8) & 255")
  math(EXPR addressLow "${address} & 255")
  set(line ":")
  set(sum 0)
  foreach(b ${count} ${addressHigh} ${addressLow} ${type} ${ARGN})
    hex_byte(digits ${b})
    string(APPEND line ${digits})
    math(EXPR sum "${sum} + ${b}")
  endforeach()
  math(EXPR check "(256 - (${sum} & 255)) & 255")
  hex_byte(digits ${check})
  set(${out} "${line}${digits}\r\n" PARENT_SCOPE)
endfunction()

# The words [first, end) as 8-word records, the seed carried on.
function(hex_words out seedVar first end skipGaps)
  set(text "")
  set(seed ${${seedVar}})
  set(index 0)
  set(word ${first})
  while(word LESS end)
    math(EXPR next "${word} + 8")
    if(next GREATER end)
      set(next ${end})
    endif()
    set(bytes "")
    set(w ${word})
    while(w LESS next)
      math(EXPR seed "(${seed} * 1103515245 + 12345) & 2147483647")
      math(EXPR value "(${seed} >> 12) & 16383")
      math(EXPR low "${value} & 255")
      math(EXPR high "${value} >> 8")
      list(APPEND bytes ${low} ${high})
      math(EXPR w "${w} + 1")
    endwhile()
    math(EXPR gap "${index} % ${kGapEvery}")
    if(NOT skipGaps OR NOT gap EQUAL 7)
      math(EXPR address "${word} * 2")
      hex_record(line ${address} 0 ${bytes})
      string(APPEND text ${line})
    endif()
    math(EXPR index "${index} + 1")
    set(word ${next})
  endwhile()
  set(${out} "${text}" PARENT_SCOPE)
  set(${seedVar} ${seed} PARENT_SCOPE)
endfunction()

set(seed 1957)
hex_words(boot seed 0 ${kBootWords} FALSE)
# A last record of three words shows that records need not be whole blocks.
math(EXPR tailStart "${kApplicationEnd} - 3")
hex_words(application seed ${kApplicationStart} ${tailStart} TRUE)
hex_words(tail seed ${tailStart} ${kApplicationEnd} FALSE)
math(EXPR configAddress "${kConfigWord} * 2")
math(EXPR configLow "${kConfigValue} & 255")
math(EXPR configHigh "${kConfigValue} >> 8")
hex_record(config ${configAddress} 0 ${configLow} ${configHigh})
hex_record(end 0 1)

file(WRITE ${OUTPUT}.part "${boot}${application}${tail}${config}${end}")
file(RENAME ${OUTPUT}.part ${OUTPUT})
