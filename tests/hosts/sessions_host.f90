! Host program in Fortran: one session of the create-then-appends flow of sessions_host.c,
! as a Fortran analysis program runs it, one run per load step. The session to run is
! given on the command line:
!   create NAME CASE  the plain model NAME, one QU4 on nodes 1 to 4, with the nodal
!                     results DISPL of load case CASE;
!   append NAME CASE  load case CASE appended to NAME, its model header on the unit of
!                     the results.
! Each run starts the writing road (the database alone, message file CASE.msg or
! NAME.msg) and stops it. Every IERR and IOSTAT must be 0; the run then ends with status
! 0, otherwise 1. run_sessions_f.cmake runs the sessions as processes of their own and has
! the reader of sessions_host.c check the files they leave.
program sessions_host
  use kvr7dbio
  use, intrinsic :: iso_c_binding, only: c_int32_t, c_float
  implicit none

  integer(c_int32_t), parameter :: MSG = 20, NEU = 22, DB8 = 18, DB7 = 17
  integer(c_int32_t), dimension(2), parameter :: UNITS = [31, 32]
  integer(c_int32_t), dimension(4), parameter :: QUAD = [1, 2, 3, 4]

  integer :: passed = 0, failed = 0
  character(len=16) :: mode
  character(len=KVR_DIHED2_NAME_LENGTH) :: model, load_case
  integer(c_int32_t) :: ierr, node

  call get_command_argument(1, mode)
  call get_command_argument(2, model)
  call get_command_argument(3, load_case)
  if (command_argument_count() /= 3 .or. (mode /= 'create' .and. mode /= 'append')) then
    print '(A)', 'usage: sessions_host create|append NAME CASE'
    stop 2
  end if

  if (mode == 'create') then
    call start(model)
    call header(1, 1, model, UNITS(1))
    call header(2, 1, ' ', UNITS(1))
    do node = 1, 4
      call dll_dicor(node, real(mod(node / 2, 2), c_float), real((node - 1) / 2, c_float), &
                     0.0_c_float, 0_c_int32_t, ierr, UNITS(1))
      call expect_zero(ierr, 'dll_dicor')
    end do
    call process(UNITS(1))
    call header(3, 1, ' ', UNITS(2))
    call dll_ditop(1_c_int32_t, 9_c_int32_t, 1_c_int32_t, 1_c_int32_t, QUAD, 0_c_int32_t, &
                   ierr, UNITS(2))
    call expect_zero(ierr, 'dll_ditop')
    call process(UNITS(2))
    call displacements(load_case, 0.001_c_float, UNITS(1))
    call process(UNITS(1))
  else
    call start(load_case)
    call header(1, 2, model, UNITS(1))
    call displacements(load_case, 0.002_c_float, UNITS(1))
    call process(UNITS(1))
  end if
  call stop_road()

  print '(A, 1X, 2A, I0, A, I0, A)', trim(mode), trim(load_case), ': ', passed, &
      ' passed, ', failed, ' failed'
  if (failed /= 0) stop 1

contains

  subroutine expect_zero(code, what)
    integer(c_int32_t), intent(in) :: code
    character(len=*), intent(in) :: what
    if (code == 0) then
      passed = passed + 1
    else
      failed = failed + 1
      print '(3A, I0)', 'FAILED ', what, ': code ', code
    end if
  end subroutine

  ! Opens NAME on UNIT as a new formatted file or, with a blank NAME, a scratch
  ! unformatted stream.
  subroutine open_file(unit, name)
    integer(c_int32_t), intent(in) :: unit
    character(len=*), intent(in) :: name
    character(len=KVR_OPNTLDBF_FNAME_LENGTH) :: fname
    integer(c_int32_t) :: imode, istat, iform, iostat
    fname = name
    if (name == ' ') then
      imode = 0
      istat = 2
      iform = 1
    else
      imode = 2
      istat = 1
      iform = 2
    end if
    call dll_opntldbf(unit, imode, fname, istat, iform, 1_c_int32_t, 0_c_int32_t, iostat)
    call expect_zero(iostat, 'dll_opntldbf')
  end subroutine

  ! The road started with the database alone (number format 10, pages of 2040 words), its
  ! messages on SESSION.msg.
  subroutine start(session)
    character(len=*), intent(in) :: session
    integer(c_int32_t) :: err, opened
    character(len=KVR_DIDBI_TEXT6_LENGTH) :: text6
    character(len=KVR_DIDBI_TEXT79_LENGTH) :: text79
    call open_file(MSG, trim(session) // '.msg')
    call open_file(UNITS(1), ' ')
    call open_file(UNITS(2), ' ')
    call dll_diini2(1_c_int32_t, DB8, DB7, NEU, UNITS, 2_c_int32_t, 0_c_int32_t, &
                    10_c_int32_t, MSG, 99_c_int32_t, 2040_c_int32_t, err)
    call expect_zero(err, 'dll_diini2')
    text6 = ' '
    text79 = ' '
    call dll_didbi(0_c_int32_t, opened, text6, text79, 0_c_int32_t, err)
    call expect_zero(err, 'dll_didbi')
  end subroutine

  subroutine stop_road()
    integer(c_int32_t) :: err, iostat, k
    call dll_distp(err)
    call expect_zero(err, 'dll_distp')
    do k = 1, 2
      call dll_kvclose(UNITS(k))
    end do
    call dll_clstldbf(MSG, iostat)
    call expect_zero(iostat, 'dll_clstldbf')
  end subroutine

  ! A dataset header of KEY named NAME on UNIT; IOPCOD 1 create, 2 append.
  subroutine header(key, iopcod, name, unit)
    integer, intent(in) :: key, iopcod
    character(len=*), intent(in) :: name
    integer(c_int32_t), intent(in) :: unit
    character(len=KVR_DIHED2_NAME_LENGTH) :: hname
    character(len=KVR_DIHED2_HTITLE_LENGTH) :: htitle
    character(len=KVR_DIHED2_HTEXT_LENGTH) :: htext
    integer(c_int32_t) :: hnumbr, err
    hname = name
    htitle = ' '
    htext = ' '
    hnumbr = 0
    if (key == 100) hnumbr = 1
    call dll_dihed2(int(key, c_int32_t), int(iopcod, c_int32_t), hname, 0.0_c_float, hnumbr, &
                    htitle, 0_c_int32_t, htext, err, unit)
    call expect_zero(err, 'dll_dihed2')
  end subroutine

  subroutine process(unit)
    integer(c_int32_t), intent(in) :: unit
    integer(c_int32_t) :: err
    call dll_dilim(err, unit)
    call expect_zero(err, 'dll_dilim')
  end subroutine

  ! The nodal results DISPL of LOAD_CASE on UNIT, its header first: node n moves by
  ! (SCALE * n, 0, -SCALE).
  subroutine displacements(load_case, scale, unit)
    character(len=*), intent(in) :: load_case
    real(c_float), intent(in) :: scale
    integer(c_int32_t), intent(in) :: unit
    character(len=8), dimension(3), parameter :: NAMES = [character(len=8) :: 'DX', 'DY', 'DZ']
    character(len=KVR_DIRHA_ATTNAM_LENGTH) :: attnam
    character(len=KVR_DIRHB_COMPNM_LENGTH) :: compnm
    character(len=KVR_DIRHB_NCALC_LENGTH) :: ncalc
    character(len=KVR_DIRHB_COMPN2_LENGTH) :: compn2
    integer(c_int32_t) :: err, j, n
    call header(100, 1, load_case, unit)
    attnam = 'DISPL'
    call dll_dirha(attnam, 3_c_int32_t, 1_c_int32_t, 0_c_int32_t, err, unit)
    call expect_zero(err, 'dll_dirha')
    ncalc = ' '
    compn2 = ' '
    do j = 1, 3
      compnm = NAMES(j)
      call dll_dirhb(compnm, 1_c_int32_t, 2_c_int32_t, j, 0_c_int32_t, 0_c_int32_t, ncalc, &
                     compn2, err, unit)
      call expect_zero(err, 'dll_dirhb')
    end do
    do n = 1, 4
      call dll_dinia(n, [scale * real(n, c_float), 0.0_c_float, -scale], 3_c_int32_t, err, &
                     unit)
      call expect_zero(err, 'dll_dinia')
    end do
  end subroutine

end program sessions_host
