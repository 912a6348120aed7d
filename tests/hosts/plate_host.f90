! Host program in Fortran: the run of plate_host.c (its comment describes the model and
! the two sessions), as a Fortran analysis program makes it: every argument by reference
! through the interfaces of the module kvr7dbio, every text a blank-padded CHARACTER
! variable of the length the routine takes. Every IERR and IOSTAT must be 0; the files it
! leaves must be those of the C host (check_plate_files.cmake compares the neutral file
! with plate.neu).
program plate_host
  use kvr7dbio
  use, intrinsic :: iso_c_binding, only: c_int32_t, c_char, c_float
  implicit none

  integer(c_int32_t), parameter :: MSG = 20, LOGFILE = 21, NEU = 22, DB8 = 18, DB7 = 17
  integer(c_int32_t), dimension(3), parameter :: UNITS = [31, 32, 33]
  integer(c_int32_t), dimension(4, 4), parameter :: TOPOLOGY = reshape( &
      [1, 2, 5, 4, 2, 3, 6, 5, 4, 5, 8, 7, 5, 6, 9, 8], [4, 4])
  character(len=8), dimension(3), parameter :: STRESSES = [character(len=8) :: 'SX', 'SY', 'SXY']

  integer :: passed = 0, failed = 0
  integer(c_int32_t) :: ierr, k, node, elem, id
  real(c_float), dimension(3) :: values
  character(len=KVR_DIRHA_ATTNAM_LENGTH) :: attnam
  character(len=KVR_DIRHB_COMPNM_LENGTH) :: compnm
  character(len=KVR_DIRHB_NCALC_LENGTH) :: ncalc
  character(len=KVR_DIRHB_COMPN2_LENGTH) :: compn2
  character(len=KVR_DISET_SETNAM_LENGTH) :: setnam
  character(len=KVR_DISET_STITLE_LENGTH) :: stitle

  ! First session: both outputs, the database and the neutral file.
  call open_file(MSG, 2, 'plate.msg', 1)
  call open_file(LOGFILE, 2, 'plate.log', 1)
  call open_file(NEU, 2, 'plate.neu', 1)
  do k = 1, 3
    call open_file(UNITS(k), 0, ' ', 1)
  end do

  call expect(version() == transfer(0.0_c_float, 0_c_int32_t), &
              'dll_vrpre 0.0 before dll_diini2')
  call start(3)
  call expect(version() == transfer(0.0001_c_float, 0_c_int32_t), &
              'dll_vrpre 0.0001 after dll_diini2')
  call log_line(1, 0)
  call log_line(2, 0)

  ! The model header and the nodes on one unit, processed together.
  call header(1, 1, 'PLATE', UNITS(1))
  call header(2, 1, ' ', UNITS(1))
  do node = 1, 9
    call dll_dicor(node, real(mod(node - 1, 3), c_float), real((node - 1) / 3, c_float), &
                   0.0_c_float, 0_c_int32_t, ierr, UNITS(1))
    call expect_zero(ierr, 'dll_dicor')
  end do
  call process(UNITS(1))

  call header(3, 1, ' ', UNITS(2))
  do elem = 1, 4
    call dll_ditop(elem, 9_c_int32_t, 1_c_int32_t, 1_c_int32_t, TOPOLOGY(:, elem), &
                   0_c_int32_t, ierr, UNITS(2))
    call expect_zero(ierr, 'dll_ditop')
  end do
  call process(UNITS(2))

  call header(18, 1, ' ', UNITS(3))
  setnam = 'FIXED'
  stitle = 'Clamped edge'
  call dll_diset(setnam, stitle, [1_c_int32_t, 2_c_int32_t, 3_c_int32_t], 3_c_int32_t, ierr, &
                 UNITS(3))
  call expect_zero(ierr, 'dll_diset')
  call process(UNITS(3))

  call header(41, 1, ' ', UNITS(1))
  do node = 1, 3
    call dll_dicon(node, 9_c_int32_t, 0_c_int32_t, 0_c_int32_t, ierr, UNITS(1))
    call expect_zero(ierr, 'dll_dicon')
  end do
  call process(UNITS(1))

  call log_line(3, 1)
  call displacements('LOAD1', 0.001_c_float, UNITS(2))
  call process(UNITS(2))

  ! Element results at the nodes of each element: a header, then one repeat a node.
  call header(100, 1, 'LOAD1', UNITS(3))
  attnam = 'STRESS'
  call dll_dirha(attnam, 3_c_int32_t, 3_c_int32_t, 0_c_int32_t, ierr, UNITS(3))
  call expect_zero(ierr, 'dll_dirha STRESS')
  ncalc = ' '
  compn2 = ' '
  do k = 1, 3
    compnm = STRESSES(k)
    call dll_dirhb(compnm, 1_c_int32_t, 3_c_int32_t, k, 0_c_int32_t, 0_c_int32_t, ncalc, &
                   compn2, ierr, UNITS(3))
    call expect_zero(ierr, 'dll_dirhb STRESS')
  end do
  do elem = 1, 4
    call dll_dienh(elem, 9_c_int32_t, 1_c_int32_t, 0_c_int32_t, 4_c_int32_t, 1_c_int32_t, &
                   0_c_int32_t, 0_c_int32_t, ierr, UNITS(3))
    call expect_zero(ierr, 'dll_dienh')
    do k = 1, 4
      id = TOPOLOGY(k, elem)
      values = [100.0_c_float * real(elem, c_float) + real(k - 1, c_float), &
                -50.0_c_float * real(elem, c_float), 0.25_c_float * real(id, c_float)]
      call dll_dienr(id, values, 3_c_int32_t, ierr, UNITS(3))
      call expect_zero(ierr, 'dll_dienr')
    end do
  end do
  call process(UNITS(3))

  call stop_road()
  call close_file(NEU)

  ! Second session: the database alone; the append header shares its unit with the
  ! results it opens the model for.
  call start(1)
  call log_line(3, 2)
  call header(1, 2, 'PLATE', UNITS(1))
  call displacements('LOAD2', 0.002_c_float, UNITS(1))
  call process(UNITS(1))
  call stop_road()

  do k = 1, 3
    call close_file(UNITS(k))
  end do
  call close_file(LOGFILE)
  call close_file(MSG)

  print '(I0, A, I0, A)', passed, ' passed, ', failed, ' failed'
  if (failed /= 0) stop 1

contains

  subroutine expect(ok, what)
    logical, intent(in) :: ok
    character(len=*), intent(in) :: what
    if (ok) then
      passed = passed + 1
    else
      failed = failed + 1
      print '(2A)', 'FAILED ', what
    end if
  end subroutine

  subroutine expect_zero(code, what)
    integer(c_int32_t), intent(in) :: code
    character(len=*), intent(in) :: what
    if (code /= 0) print '(A, I0)', 'code ', code
    call expect(code == 0, what)
  end subroutine

  ! Opens NAME on UNIT: IMODE 2 (a new file) or 0, formatted, sequential or appended; or,
  ! with a blank NAME, a scratch unformatted stream.
  subroutine open_file(unit, imode, name, iacces)
    integer(c_int32_t), intent(in) :: unit
    integer, intent(in) :: imode, iacces
    character(len=*), intent(in) :: name
    character(len=KVR_OPNTLDBF_FNAME_LENGTH) :: fname
    integer(c_int32_t) :: istat, iform, iostat
    fname = name
    if (name == ' ') then
      istat = 2
      iform = 1
    else
      istat = 1
      iform = 2
    end if
    call dll_opntldbf(unit, int(imode, c_int32_t), fname, istat, iform, &
                      int(iacces, c_int32_t), 0_c_int32_t, iostat)
    call expect_zero(iostat, 'dll_opntldbf')
  end subroutine

  subroutine close_file(unit)
    integer(c_int32_t), intent(in) :: unit
    integer(c_int32_t) :: iostat
    call dll_clstldbf(unit, iostat)
    call expect_zero(iostat, 'dll_clstldbf')
  end subroutine

  subroutine log_line(mode, step)
    integer, intent(in) :: mode, step
    character(len=KVR_WRTTLLOG_TYPTXT_LENGTH) :: typtxt
    typtxt = 'STATIC'
    call dll_wrttllog(LOGFILE, int(mode, c_int32_t), int(step, c_int32_t), 1_c_int32_t, typtxt)
  end subroutine

  ! The version number dll_vrpre gives, as the bits of its REAL (compared exactly).
  integer(c_int32_t) function version() result(bits)
    integer(c_int32_t) :: day, month, year, hour, minute, second, letter
    real(c_float) :: number
    number = -1.0
    call dll_vrpre(day, month, year, hour, minute, second, number, letter)
    bits = transfer(number, bits)
  end function

  ! A dataset header of KEY named NAME on UNIT; IOPCOD 1 create, 2 append.
  subroutine header(key, iopcod, name, unit)
    integer, intent(in) :: key, iopcod
    character(len=*), intent(in) :: name
    integer(c_int32_t), intent(in) :: unit
    character(len=KVR_DIHED2_NAME_LENGTH) :: hname
    character(len=KVR_DIHED2_HTITLE_LENGTH) :: htitle
    character(len=KVR_DIHED2_HTEXT_LENGTH) :: htext
    integer(c_int32_t) :: hnumbr, err
    real(c_float) :: hvalue
    hname = name
    htext = ' '
    if (key == 100) then
      htitle = 'Plate load'
      hnumbr = 1
      hvalue = 1.0
    else
      htitle = ' '
      hnumbr = 0
      hvalue = 0.0
    end if
    call dll_dihed2(int(key, c_int32_t), int(iopcod, c_int32_t), hname, hvalue, hnumbr, &
                    htitle, 0_c_int32_t, htext, err, unit)
    call expect_zero(err, 'dll_dihed2')
  end subroutine

  subroutine process(unit)
    integer(c_int32_t), intent(in) :: unit
    integer(c_int32_t) :: err
    call dll_dilim(err, unit)
    call expect_zero(err, 'dll_dilim')
  end subroutine

  subroutine start(luopt)
    integer, intent(in) :: luopt
    integer(c_int32_t) :: err, arg1, opened, arg5
    character(len=KVR_DIDBI_TEXT6_LENGTH) :: text6
    character(len=KVR_DIDBI_TEXT79_LENGTH) :: text79
    call dll_diini2(int(luopt, c_int32_t), DB8, DB7, NEU, UNITS, 3_c_int32_t, 0_c_int32_t, &
                    5_c_int32_t, MSG, 99_c_int32_t, 2040_c_int32_t, err)
    call expect_zero(err, 'dll_diini2')
    arg1 = 0
    arg5 = 0
    text6 = ' '
    text79 = ' '
    call dll_didbi(arg1, opened, text6, text79, arg5, err)
    call expect_zero(err, 'dll_didbi')
  end subroutine

  subroutine stop_road()
    integer(c_int32_t) :: err
    call dll_distp(err)
    call expect_zero(err, 'dll_distp')
  end subroutine

  ! The nodal results DISPL of load case LOAD_CASE on UNIT: node n moves by
  ! (0, SCALE * row, 0), row 0 at the bottom.
  subroutine displacements(load_case, scale, unit)
    character(len=*), intent(in) :: load_case
    real(c_float), intent(in) :: scale
    integer(c_int32_t), intent(in) :: unit
    character(len=8), dimension(3), parameter :: NAMES = [character(len=8) :: 'DX', 'DY', 'DZ']
    character(len=8) :: name8, calc8, second8
    integer(c_int32_t) :: err, j, n
    call header(100, 1, load_case, unit)
    name8 = 'DISPL'
    call dll_dirha(name8, 3_c_int32_t, 1_c_int32_t, 0_c_int32_t, err, unit)
    call expect_zero(err, 'dll_dirha DISPL')
    calc8 = ' '
    second8 = ' '
    do j = 1, 3
      name8 = NAMES(j)
      call dll_dirhb(name8, 1_c_int32_t, 2_c_int32_t, j, 0_c_int32_t, 0_c_int32_t, calc8, &
                     second8, err, unit)
      call expect_zero(err, 'dll_dirhb DISPL')
    end do
    do n = 1, 9
      call dll_dinia(n, [0.0_c_float, scale * real((n - 1) / 3, c_float), 0.0_c_float], &
                     3_c_int32_t, err, unit)
      call expect_zero(err, 'dll_dinia')
    end do
  end subroutine

end program plate_host
