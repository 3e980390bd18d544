# A package as Notepad saves it as "ANSI" on a Chinese Windows: no byte-order mark, CR LF, the
# image names in GBK. The images lie beside it under their Chinese names. Included by RunCli.cmake
# into the fresh working folder (WORKDIR).
string(ASCII 185 204 188 254 gbk_firmware)  # 固件 in GBK
string(ASCII 190 181 207 241 gbk_image)     # 镜像
file(WRITE ${WORKDIR}/pkg.ini
    "[Tavlin HInfo]\r\nImage_en=1\r\nImage_version=7\r\nImage_name=${gbk_firmware}.bin\r\n"
    "[Tavlin LInfo]\r\nImage_en=1\r\nImage_version=305419896\r\n"
    "Image_name=${gbk_image}.bin\r\n")
string(REPEAT "0123456789" 50 firmware)
file(WRITE ${WORKDIR}/固件.bin "${firmware}")
file(WRITE ${WORKDIR}/镜像.bin "tavlin")
